// The strict and lenient integer parses against a reference written
// independently from the syntax: spaces, one sign, then decimal digits in
// the 32-bit signed range, or "$", "x", "X", "0x", "0X" and 1 to 8
// significant hex digits taken as a 32-bit pattern; nothing may follow.
#include "check.h"
#include "base/convert.h"
#include "base/exception.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using namespace rovi;

namespace {

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::optional<std::int32_t> Reference(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    bool minus = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        minus = s.front() == '-';
        s.remove_prefix(1);
    }
    std::size_t prefix = 0;
    if (s.starts_with("0x") || s.starts_with("0X"))
        prefix = 2;
    else if (s.starts_with("$") || s.starts_with("x") || s.starts_with("X"))
        prefix = 1;
    if (prefix > 0) {
        std::string_view digits = s.substr(prefix);
        if (digits.empty())
            return std::nullopt;
        for (char c : digits)
            if (!IsHex(c))
                return std::nullopt;
        while (digits.size() > 1 && digits.front() == '0')
            digits.remove_prefix(1);
        if (digits.size() > 8)
            return std::nullopt;
        const auto pattern = static_cast<std::uint32_t>(std::stoul(std::string(digits), nullptr, 16));
        return static_cast<std::int32_t>(minus ? 0u - pattern : pattern);
    }
    if (s.empty())
        return std::nullopt;
    for (char c : s)
        if (c < '0' || c > '9')
            return std::nullopt;
    while (s.size() > 1 && s.front() == '0')
        s.remove_prefix(1);
    if (s.size() > 10)
        return std::nullopt;
    const long long magnitude = std::stoll(std::string(s));
    const long long value = minus ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<std::int32_t> expected = Reference(text);
    FUZZ_CHECK(ParseInt(text) == expected);
    FUZZ_CHECK(StrToIntDef(text, 12345) == expected.value_or(12345));
    bool threw = false;
    try {
        const std::int32_t value = StrToInt(text);
        FUZZ_CHECK(expected && value == *expected);
    } catch (const ConversionError &e) {
        threw = true;
        // what() is a C string: a text holding NUL shows up to it.
        const std::string message = "'" + std::string(text) + "' is not a valid integer value";
        FUZZ_CHECK(std::string(e.what()) == message.c_str());
    }
    FUZZ_CHECK(threw == !expected.has_value());
    if (expected)
        FUZZ_CHECK(ParseInt("$" + IntToHex2(*expected)) == expected);
    const std::string_view trimmed = Trim(text);
    FUZZ_CHECK(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 0x20 &&
                                   static_cast<unsigned char>(trimmed.back()) > 0x20));
    return 0;
}
