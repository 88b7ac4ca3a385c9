#include "base/convert.h"
#include "tests/support/expecterror.h"
#include "base/exception.h"

#include "tests/support/rowname.h"

#include <gtest/gtest.h>

#include <climits>

using namespace rovi;

struct ParseCase {
    const char *name;
    const char *text;
    std::optional<std::int32_t> value;
};

class ParseIntTable : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseIntTable, MatchesTheIntegerSyntax)
{
    EXPECT_EQ(ParseInt(GetParam().text), GetParam().value) << "text: '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(Syntax, ParseIntTable, testing::Values(
    ParseCase{"Zero", "0", 0},
    ParseCase{"Decimal", "42", 42},
    ParseCase{"LeadingZeros", "007", 7},
    ParseCase{"LeadingSpacesSkipped", "  12", 12},
    ParseCase{"LeadingTabRefused", "\t12", std::nullopt},
    ParseCase{"TrailingSpaceRefused", "12 ", std::nullopt},
    ParseCase{"Empty", "", std::nullopt},
    ParseCase{"OnlySpace", " ", std::nullopt},
    ParseCase{"PlusSign", "+5", 5},
    ParseCase{"MinusSign", "-5", -5},
    ParseCase{"TwoSigns", "+-5", std::nullopt},
    ParseCase{"DoubleMinus", "--5", std::nullopt},
    ParseCase{"SpaceAfterSign", "- 5", std::nullopt},
    ParseCase{"LargestDecimal", "2147483647", INT32_MAX},
    ParseCase{"PastLargestDecimal", "2147483648", std::nullopt},
    ParseCase{"SmallestDecimal", "-2147483648", INT32_MIN},
    ParseCase{"PastSmallestDecimal", "-2147483649", std::nullopt},
    ParseCase{"FarPastRange", "99999999999", std::nullopt},
    ParseCase{"DollarHexUpper", "$1F", 0x1F},
    ParseCase{"DollarHexLower", "$1f", 0x1F},
    ParseCase{"XHexLower", "x10", 16},
    ParseCase{"XHexUpper", "X10", 16},
    ParseCase{"ZeroXHex", "0x10", 16},
    ParseCase{"ZeroXHexUpper", "0X10", 16},
    ParseCase{"NegativeHex", "-$10", -16},
    ParseCase{"SpaceSignAndHex", " +0x7", 7},
    ParseCase{"DollarWithoutDigits", "$", std::nullopt},
    ParseCase{"ZeroXWithoutDigits", "0x", std::nullopt},
    ParseCase{"NonHexDigit", "$G1", std::nullopt},
    ParseCase{"AllOnesPattern", "$FFFFFFFF", -1},
    ParseCase{"SignBitPattern", "$80000000", INT32_MIN},
    ParseCase{"LargestHex", "$7FFFFFFF", INT32_MAX},
    ParseCase{"LeadingZerosNotSignificant", "$000000001", 1},
    ParseCase{"NineSignificantDigits", "$100000000", std::nullopt},
    ParseCase{"DecimalPoint", "1.0", std::nullopt},
    ParseCase{"Exponent", "1e3", std::nullopt},
    ParseCase{"TwoDollars", "$$1", std::nullopt}),
    test::RowName{});

TEST(StrToInt, ThrowsTheConversionErrorNamingTheWholeText)
{
    EXPECT_EQ(StrToInt("$3C"), 0x3C);
    test::ExpectError<ConversionError>([] { StrToInt("$G1"); }, "'$G1' is not a valid integer value");
    test::ExpectError<Exception>([] { StrToInt(""); }, "'' is not a valid integer value"); // the program's base error
}

TEST(StrToIntDef, ReturnsTheDefaultOnFailureOnly)
{
    EXPECT_EQ(StrToIntDef("", 1), 1);
    EXPECT_EQ(StrToIntDef("12345678901", 0), 0);
    EXPECT_EQ(StrToIntDef("-3", 1), -3);
    EXPECT_EQ(StrToIntDef("0", 7), 0);
}

TEST(IntToHex2, PadsToTwoDigitsAndWritesLargerValuesInFull)
{
    EXPECT_EQ(IntToHex2(0), "00");
    EXPECT_EQ(IntToHex2(0x0A), "0A");
    EXPECT_EQ(IntToHex2(0xFC), "FC");
    EXPECT_EQ(IntToHex2(0x2F6), "2F6");
    EXPECT_EQ(IntToHex2(-1), "FFFFFFFF");
}

TEST(Trim, RemovesControlCharactersAndSpacesAtBothEnds)
{
    EXPECT_EQ(Trim(" \t\r\n FE F1\x01\x1f "), "FE F1");
    EXPECT_EQ(Trim("\x20\x10"), "");
    EXPECT_EQ(Trim("\x80x\x21"), "\x80x\x21"); // 0x80 and 0x21 sort above 0x20
}
