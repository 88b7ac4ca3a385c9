#include "utf16.h"

#include <cstdint>

namespace rovi {

namespace {

void AppendUtf8(std::string &out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::optional<std::string> Utf8FromUtf16(std::string_view bytes, ByteOrder order)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    const auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto first = static_cast<std::uint8_t>(bytes[i]), second = static_cast<std::uint8_t>(bytes[i + 1]);
        return order == ByteOrder::LittleEndian ? first | (second << 8) : (first << 8) | second;
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const std::uint32_t u = unit(i);
        if (u >= 0xDC00 && u <= 0xDFFF)
            return std::nullopt; // a low surrogate with no high one before it
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 2 >= bytes.size())
                return std::nullopt;
            const std::uint32_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                return std::nullopt;
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
            i += 2;
            continue;
        }
        AppendUtf8(out, u);
    }
    return out;
}

} // namespace rovi
