#include "convert.h"

#include "exception.h"

namespace rovi {

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Parses the digits after a hexadecimal prefix as a 32-bit pattern.
std::optional<std::uint32_t> ParseHexDigits(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint32_t value = 0;
    int significant = 0;
    for (char c : digits) {
        const int d = HexValue(c);
        if (d < 0)
            return std::nullopt;
        if (significant > 0 || d != 0)
            ++significant;
        if (significant > 8)
            return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return value;
}

// Parses decimal digits into a magnitude of at most 2^31 (the size of INT32_MIN).
std::optional<std::uint32_t> ParseDecimalDigits(std::string_view digits, std::uint32_t limit)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::string_view> StripHexPrefix(std::string_view text)
{
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X'))
        return text.substr(1);
    if (text.starts_with("0x") || text.starts_with("0X"))
        return text.substr(2);
    return std::nullopt;
}

} // namespace

std::optional<std::int32_t> ParseInt(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::string_view rest = text.substr(pos);

    std::uint32_t magnitude = 0;
    if (const auto hex = StripHexPrefix(rest)) {
        const auto value = ParseHexDigits(*hex);
        if (!value)
            return std::nullopt;
        magnitude = *value;
    } else {
        const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
        const auto value = ParseDecimalDigits(rest, limit);
        if (!value)
            return std::nullopt;
        magnitude = *value;
    }
    // Two's-complement negation of the 32-bit pattern ("-$1" is -1, "$FFFFFFFF" is -1).
    const std::uint32_t pattern = negative ? (0u - magnitude) : magnitude;
    return static_cast<std::int32_t>(pattern);
}

std::int32_t StrToInt(std::string_view text)
{
    if (const auto value = ParseInt(text))
        return *value;
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback)
{
    return ParseInt(text).value_or(fallback);
}

std::string IntToHex2(std::int32_t value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto pattern = static_cast<std::uint32_t>(value);
    std::string out;
    do {
        out.insert(out.begin(), kDigits[pattern & 0xF]);
        pattern >>= 4;
    } while (pattern != 0);
    if (out.size() < 2)
        out.insert(out.begin(), '0');
    return out;
}

std::string_view Trim(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace rovi
