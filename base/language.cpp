#include "language.h"

#include "convert.h"

namespace rovi {

Language SystemLanguage(std::string_view locale_name)
{
    const std::string_view name = Trim(locale_name);
    // "C.UTF-8" and "POSIX" name no language at all.
    const std::string_view language = name.substr(0, name.find_first_of("_-.@"));
    if (language.empty() || language == "C" || language == "POSIX" || language == "zh")
        return Language::Chinese;
    return Language::English;
}

const char *LanguageCode(Language language)
{
    return language == Language::English ? "en" : "zh";
}

std::optional<Language> LanguageOfCode(std::string_view code)
{
    code = Trim(code);
    if (code == "zh")
        return Language::Chinese;
    if (code == "en")
        return Language::English;
    return std::nullopt;
}

} // namespace rovi
