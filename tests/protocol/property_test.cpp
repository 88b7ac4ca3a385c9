// Randomised checks with fixed seeds: the integer parse against a plain
// reference, and hex text round trips.
#include "base/convert.h"
#include "protocol/hexstr.h"

#include <gtest/gtest.h>

#include <cctype>

#include <random>
#include <regex>

using namespace rovi;

namespace {

// The integer syntax written the obvious way, with 64-bit arithmetic.
std::optional<std::int32_t> ReferenceParse(const std::string &text)
{
    static const std::regex syntax(R"(^ *([+-]?)(?:([0-9]+)|(?:\$|x|X|0x|0X)([0-9A-Fa-f]+))$)");
    std::smatch m;
    if (!std::regex_match(text, m, syntax))
        return std::nullopt;
    const bool negative = m[1] == "-";
    if (m[2].matched) {
        long long v = 0;
        for (char c : m[2].str()) {
            v = v * 10 + (c - '0');
            if (v > (1LL << 40))
                return std::nullopt;
        }
        if (negative)
            v = -v;
        if (v < INT32_MIN || v > INT32_MAX)
            return std::nullopt;
        return static_cast<std::int32_t>(v);
    }
    std::string digits = m[3].str();
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() > 8)
        return std::nullopt;
    std::uint32_t v = digits.empty() ? 0 : static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
    if (negative)
        v = 0u - v;
    return static_cast<std::int32_t>(v);
}

} // namespace

TEST(ParseIntProperty, AgreesWithTheReferenceOnRandomTexts)
{
    std::mt19937 rng(20261209);
    const std::string alphabet = " +-$xX0123456789aAfFgG\t";
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int len = static_cast<int>(rng() % 12);
        for (int k = 0; k < len; ++k)
            text += alphabet[rng() % alphabet.size()];
        if (rng() % 4 == 0)
            text = std::to_string(static_cast<std::int64_t>(rng()) * ((rng() % 2) ? 1 : -1) * (rng() % 3));
        ASSERT_EQ(ParseInt(text), ReferenceParse(text)) << "text: '" << text << "'";
    }
}

TEST(HexTextProperty, RandomBytesRoundTripAndTextLinesKeepOnlyHexDigits)
{
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        ByteString bytes(rng() % 64, '\0');
        for (char &c : bytes)
            c = static_cast<char>(rng());
        ASSERT_EQ(HexToBytes(HexLine(bytes)), bytes);
        // The text line is exactly the bytes that are ASCII hex digits, in
        // order (the C library's isxdigit as the independent oracle).
        std::string expected;
        for (const unsigned char c : bytes)
            if (std::isxdigit(c))
                expected += static_cast<char>(c);
        ASSERT_EQ(TextLine(bytes), expected);
        // Any text gives at most one byte per character, never reading past its end.
        ASSERT_LE(HexToBytes(bytes).size(), bytes.size());
    }
}
