#include "protocol/fieldwords.h"

#include "protocol/hexstr.h"
#include "tests/support/rowname.h"

#include <gtest/gtest.h>

using namespace rovi;

namespace {

struct ValueCase {
    const char *name;
    const char *word;
    Field field;
    std::uint8_t byte;
};

class Assignment : public testing::TestWithParam<ValueCase> {};

} // namespace

TEST_P(Assignment, GivesTheFieldByte)
{
    const auto parsed = ParseAssignments({GetParam().word});
    ASSERT_TRUE(std::holds_alternative<std::vector<FieldValue>>(parsed)) << std::get<FieldError>(parsed).message;
    EXPECT_EQ(std::get<std::vector<FieldValue>>(parsed), (std::vector<FieldValue>{{GetParam().field, GetParam().byte}}));
}

INSTANTIATE_TEST_SUITE_P(Words, Assignment, testing::Values(
    ValueCase{"IdLowest", "id=1", Field::id_addr, 0x01},
    ValueCase{"IdHighest", "id=240", Field::id_addr, 0xF0},
    ValueCase{"WiegandDipSwitch", "wiegand=dip", Field::wiegand, 0x01},
    ValueCase{"Wiegand34", "wiegand=34", Field::wiegand, 0x42},
    ValueCase{"WiegandOff", "wiegand=off", Field::wiegand, 0x45},
    ValueCase{"FormatHex", "format=hex", Field::serial_fmt, 0x02},
    ValueCase{"FormatOff", "format=off", Field::serial_fmt, 0x04},
    ValueCase{"Baud9600", "baud=9600", Field::baud, 0x04},
    ValueCase{"Baud115200", "baud=115200", Field::baud, 0x08},
    ValueCase{"PowerExternal", "power=external", Field::power, 0x01},
    ValueCase{"PowerLevel12", "power=software:12", Field::power, 0x2B},
    ValueCase{"PowerLevel32", "power=software:32", Field::power, 0x3F},
    ValueCase{"RereadSecondsLeave", "reread=3s,leave", Field::reread, 0x83},
    ValueCase{"RereadMinutes", "reread=60m", Field::reread, 0x7C},
    ValueCase{"RereadZeroSecondsGoesAsZeroMinutes", "reread=0s", Field::reread, 0x40},
    ValueCase{"SendTenths", "send=0.5s", Field::send_time, 0x05},
    ValueCase{"SendSixTenthsWhole", "send=6.0s", Field::send_time, 0x3C},
    ValueCase{"SendSeconds", "send=3s", Field::send_time, 0x43},
    ValueCase{"SendZeroTenthsGoesAsZeroSeconds", "send=0.0s", Field::send_time, 0x40},
    ValueCase{"CtrlHex", "ctrl=0x3c", Field::ctrl, 0x3C}),
    test::RowName{});

namespace {

struct RefusedCase {
    const char *name;
    std::vector<std::string> words;
    const char *says; // part of the message
};

class Refused : public testing::TestWithParam<RefusedCase> {};

} // namespace

TEST_P(Refused, NamesTheFieldAndWhatItAllows)
{
    const auto parsed = ParseAssignments(GetParam().words);
    ASSERT_TRUE(std::holds_alternative<FieldError>(parsed));
    EXPECT_NE(std::get<FieldError>(parsed).message.find(GetParam().says), std::string::npos)
        << std::get<FieldError>(parsed).message;
}

INSTANTIATE_TEST_SUITE_P(Words, Refused, testing::Values(
    RefusedCase{"IdPastRange", {"id=241"}, "field id: '241' is not allowed; allowed: 1 to 240"},
    RefusedCase{"IdZero", {"id=0"}, "1 to 240"},
    RefusedCase{"IdSigned", {"id=+5"}, "1 to 240"},
    RefusedCase{"UnknownWiegand", {"wiegand=37"}, "dip, 26, 34, 36, 44, off"},
    RefusedCase{"UnlistedBaud", {"baud=14400"}, "1200, 2400"},
    RefusedCase{"PowerLevelZero", {"power=software:0"}, "software:LEVEL with LEVEL 1 to 32"},
    RefusedCase{"RereadPastSixty", {"reread=61s"}, "field reread"},
    RefusedCase{"RereadNoUnit", {"reread=3"}, "field reread"},
    RefusedCase{"RereadOtherMode", {"reread=3s,stay"}, "field reread"},
    RefusedCase{"SendTwoDecimals", {"send=0.25s"}, "field send"},
    RefusedCase{"SendPastSixTenths", {"send=6.1s"}, "field send"},
    RefusedCase{"CtrlZeroIsAQuery", {"ctrl=00"}, "field ctrl"},
    RefusedCase{"CtrlResetHasItsCommand", {"ctrl=80"}, "reset command"},
    RefusedCase{"UnknownField", {"speed=1"}, "FIELD one of ctrl, id, wiegand"},
    RefusedCase{"NoEquals", {"id"}, "is not FIELD=VALUE"},
    RefusedCase{"Twice", {"id=1", "id=2"}, "field id is given twice"},
    RefusedCase{"Nothing", {}, "no FIELD=VALUE"}),
    test::RowName{});

// Every byte the reader can report reads back, in the command line's words,
// as the same byte: what query prints, set takes.
TEST(FieldWords, EveryRecognisedByteRoundTrips)
{
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        for (int b = 0; b < 256; ++b) {
            const auto byte = static_cast<std::uint8_t>(b);
            const auto text = ValueText(field, byte);
            if (!text)
                continue;
            const auto parsed = ParseAssignments({std::string(FieldName(field)) + "=" + *text});
            const bool zero_time = (field == Field::reread && byte == 0x00) ||
                                   (field == Field::reread && byte == 0x80) ||
                                   (field == Field::send_time && byte == 0x00);
            if ((field == Field::ctrl && (byte == 0 || byte == kFactoryResetCtrl))) {
                EXPECT_TRUE(std::holds_alternative<FieldError>(parsed)) << *text;
                continue;
            }
            ASSERT_TRUE(std::holds_alternative<std::vector<FieldValue>>(parsed)) << FieldName(field) << "=" << *text;
            const std::uint8_t back = std::get<std::vector<FieldValue>>(parsed)[0].byte;
            // A zero time in seconds or tenths goes in the other unit, as the panel writes it.
            EXPECT_EQ(back, zero_time ? byte | kUnitFlag : byte) << FieldName(field) << "=" << *text;
        }
    }
}

TEST(FieldWords, UnrecognisedBytesSaySo)
{
    EXPECT_EQ(ValueText(Field::id_addr, 241), std::nullopt);
    EXPECT_EQ(Describe(Field::wiegand, 0x46), "not recognised (0x46)");
    EXPECT_EQ(Describe(Field::reread, 0x83), "3 s, re-read on leaving");
    EXPECT_EQ(Describe(Field::power, 0x2B), "software control, level 12");
}

TEST(SetFrame, OneFieldAloneSeveralAsSetAllWithTheRestUnchanged)
{
    EXPECT_EQ(HexLine(AsBytes(SetFrameFor({{Field::baud, 0x05}}))), "FE F1 00 00 00 00 05 00 00 00 05 FF");
    EXPECT_EQ(HexLine(AsBytes(SetFrameFor({{Field::id_addr, 0x11}, {Field::send_time, 0x05}}))),
              "FE F1 00 11 00 00 00 00 00 05 16 FF");
}
