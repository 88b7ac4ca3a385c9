#include "protocol/hexstr.h"

#include <gtest/gtest.h>

using namespace rovi;
using namespace std::string_literals;

struct HexCase {
    std::string text;
    std::string bytes;
};

class HexToDataTable : public testing::TestWithParam<HexCase> {};

TEST_P(HexToDataTable, PairsGreedilyFromTheFirstDigit)
{
    EXPECT_EQ(HexLine(Hex_Str::HexToData(GetParam().text)), HexLine(GetParam().bytes))
        << "text: '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(Cases, HexToDataTable, testing::Values(
    HexCase{"FE F1 00 FF", "\xFE\xF1\x00\xFF"s}, HexCase{"fef100ff", "\xFE\xF1\x00\xFF"s},
    HexCase{"ABC", "\xAB\x0C"s}, HexCase{"A BC", "\x0A\xBC"s}, HexCase{"1 2 3", "\x01\x02\x03"s},
    HexCase{"0x12", "\x00\x12"s}, HexCase{"zz", ""}, HexCase{" ", ""}, HexCase{"", ""},
    HexCase{"12 3", "\x12\x03"s},
    HexCase{"1,2", "\x01\x02"s},          // the separator after a lone digit is consumed
    HexCase{"1\xE4\xB8\xAD" "2", "\x01\x02"s}, // non-ASCII bytes separate
    HexCase{"ag", "\x0A"s}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

TEST(HexToData, ProducesNulAndHighBytesUntouched)
{
    const ByteString bytes = Hex_Str::HexToData("00 80 ff 00");
    ASSERT_EQ(bytes.size(), 4u);
    EXPECT_EQ(bytes, "\x00\x80\xFF\x00"s);
}

TEST(HexLine, SpacesTwoDigitBytes)
{
    EXPECT_EQ(HexLine("\xFE\xF1\x00"s), "FE F1 00");
    EXPECT_EQ(HexLine("\x0A"), "0A");
    EXPECT_EQ(HexLine(""), "");
}

TEST(HexLine, RoundTripsEveryByteValueThroughHexToData)
{
    ByteString all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(Hex_Str::HexToData(HexLine(all)), all);
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
