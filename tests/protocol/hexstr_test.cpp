#include "protocol/hexstr.h"

#include "tests/support/rowname.h"

#include <gtest/gtest.h>

using namespace rovi;
using namespace std::string_literals;

struct HexCase {
    const char *name;
    std::string text;
    std::string bytes;
};

class HexToBytesTable : public testing::TestWithParam<HexCase> {};

TEST_P(HexToBytesTable, PairsGreedilyFromTheFirstDigit)
{
    EXPECT_EQ(HexLine(HexToBytes(GetParam().text)), HexLine(GetParam().bytes))
        << "text: '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(Cases, HexToBytesTable, testing::Values(
    HexCase{"SpacedPairs", "FE F1 00 FF", "\xFE\xF1\x00\xFF"s}, HexCase{"UnspacedLowerCase", "fef100ff", "\xFE\xF1\x00\xFF"s},
    HexCase{"OddDigitCountEndsWithALoneDigit", "ABC", "\xAB\x0C"s}, HexCase{"LoneDigitThenPair", "A BC", "\x0A\xBC"s}, HexCase{"LoneDigits", "1 2 3", "\x01\x02\x03"s},
    HexCase{"PrefixIsNotSpecial", "0x12", "\x00\x12"s}, HexCase{"NoDigits", "zz", ""}, HexCase{"OnlySpace", " ", ""}, HexCase{"Empty", "", ""},
    HexCase{"PairThenLoneDigit", "12 3", "\x12\x03"s},
    HexCase{"SeparatorAfterLoneDigitConsumed", "1,2", "\x01\x02"s},          // the separator after a lone digit is consumed
    HexCase{"NonAsciiSeparates", "1\xE4\xB8\xAD" "2", "\x01\x02"s}, // non-ASCII bytes separate
    HexCase{"LetterPastFEndsTheDigit", "ag", "\x0A"s}),
    test::RowName{});

TEST(HexToBytes, ProducesNulAndHighBytesUntouched)
{
    const ByteString bytes = HexToBytes("00 80 ff 00");
    ASSERT_EQ(bytes.size(), 4u);
    EXPECT_EQ(bytes, "\x00\x80\xFF\x00"s);
}

TEST(HexLine, SpacesTwoDigitBytes)
{
    EXPECT_EQ(HexLine("\xFE\xF1\x00"s), "FE F1 00");
    EXPECT_EQ(HexLine("\x0A"), "0A");
    EXPECT_EQ(HexLine(""), "");
}

TEST(HexLine, RoundTripsEveryByteValueThroughHexToBytes)
{
    ByteString all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(HexToBytes(HexLine(all)), all);
}

TEST(TextLine, KeepsOnlyHexDigitCharactersInCase)
{
    EXPECT_EQ(TextLine("\x30\x41\xFE\x66"), "0Af");
    EXPECT_EQ(TextLine("\xFE\xF1\x00\xFF"s), "");
    EXPECT_EQ(TextLine("0123\r\n"), "0123");
    EXPECT_EQ(HexDigitChar('g'), "");
    EXPECT_EQ(HexDigitChar('F'), "F");
    EXPECT_EQ(HexDigitChar(0xC6), "");
}
