#include "base/convert.h"
#include "base/exception.h"

#include <gtest/gtest.h>

#include <climits>

using namespace rovi;

struct ParseCase {
    const char *text;
    std::optional<std::int32_t> value;
};

class ParseIntTable : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseIntTable, MatchesTheIntegerSyntax)
{
    EXPECT_EQ(ParseInt(GetParam().text), GetParam().value) << "text: '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(Syntax, ParseIntTable, testing::Values(
    ParseCase{"0", 0}, ParseCase{"42", 42}, ParseCase{"007", 7},
    ParseCase{"  12", 12},            // leading spaces are skipped
    ParseCase{"\t12", std::nullopt},  // a tab is not
    ParseCase{"12 ", std::nullopt},   // nothing may follow
    ParseCase{"", std::nullopt}, ParseCase{" ", std::nullopt},
    ParseCase{"+5", 5}, ParseCase{"-5", -5},
    ParseCase{"+-5", std::nullopt}, ParseCase{"--5", std::nullopt}, ParseCase{"- 5", std::nullopt},
    ParseCase{"2147483647", INT32_MAX}, ParseCase{"2147483648", std::nullopt},
    ParseCase{"-2147483648", INT32_MIN}, ParseCase{"-2147483649", std::nullopt},
    ParseCase{"99999999999", std::nullopt},
    ParseCase{"$1F", 0x1F}, ParseCase{"$1f", 0x1F}, ParseCase{"x10", 16}, ParseCase{"X10", 16},
    ParseCase{"0x10", 16}, ParseCase{"0X10", 16}, ParseCase{"-$10", -16}, ParseCase{" +0x7", 7},
    ParseCase{"$", std::nullopt}, ParseCase{"0x", std::nullopt}, ParseCase{"$G1", std::nullopt},
    ParseCase{"$FFFFFFFF", -1}, ParseCase{"$80000000", INT32_MIN}, ParseCase{"$7FFFFFFF", INT32_MAX},
    ParseCase{"$000000001", 1},       // leading zeros are not significant
    ParseCase{"$100000000", std::nullopt}, // nine significant digits
    ParseCase{"1.0", std::nullopt}, ParseCase{"1e3", std::nullopt}, ParseCase{"$$1", std::nullopt}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

TEST(StrToInt, ThrowsTheConversionErrorNamingTheWholeText)
{
    EXPECT_EQ(StrToInt("$3C"), 0x3C);
    try {
        StrToInt("$G1");
        FAIL() << "no exception";
    } catch (const EConvertError &e) {
        EXPECT_STREQ(e.what(), "'$G1' is not a valid integer value");
    }
    try {
        StrToInt("");
        FAIL() << "no exception";
    } catch (const Exception &e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
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
