#include "texts.h"

#include <atomic>

namespace rovi {

namespace {

std::atomic<TextTranslator> g_translator{nullptr};

} // namespace

void SetTextTranslator(TextTranslator translator)
{
    g_translator.store(translator);
}

std::string Translated(const char *context, const char *source)
{
    if (const TextTranslator translator = g_translator.load())
        return translator(context, source);
    return source;
}

std::string Filled(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                out += *(args.begin() + n);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace rovi
