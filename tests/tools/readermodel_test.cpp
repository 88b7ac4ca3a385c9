#include "protocol/hexstr.h"
#include "tools/readersim/readermodel.h"

#include "tests/support/rowname.h"

#include <gtest/gtest.h>

#include <random>

using namespace rovi;
using namespace rovi::sim;

namespace {

ByteString Bytes(const Frame &f)
{
    return ByteString(AsBytes(f));
}

std::string Answers(ReaderModel &model, const ByteString &in)
{
    std::string out;
    for (const Reply &r : model.Feed(in))
        out += (out.empty() ? "" : " | ") + HexLine(r.bytes);
    return out;
}

struct SetCase {
    const char *name;
    Field field;
    std::uint8_t value;
    bool accepted;
};

} // namespace

TEST(ReaderModel, AnswersAQueryWithAReportOfTheFactorySet)
{
    ReaderModel model;
    EXPECT_EQ(Answers(model, Bytes(ComposeQuery())), "FE F1 00 01 41 01 04 20 03 05 6F FF");
}

class FieldSet : public testing::TestWithParam<SetCase> {};

TEST_P(FieldSet, AppliesAcceptableValuesAndRefusesOthersUnchanged)
{
    ReaderModel model;
    const auto [name, field, value, accepted] = GetParam();
    EXPECT_EQ(Answers(model, Bytes(ComposeFieldSet(field, value))), accepted ? "FE F1 00 FF" : "FE F1 02 FF");
    FieldBytes expected = ReaderModel::kFactory;
    if (accepted)
        expected[static_cast<std::size_t>(field)] = value;
    EXPECT_EQ(model.Fields(), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FieldSet, testing::Values(
    SetCase{"CtrlAnyByte", Field::ctrl, 0x33, true},
    SetCase{"IdInRange", Field::id_addr, 5, true}, SetCase{"IdHighest", Field::id_addr, 240, true}, SetCase{"IdTooHigh", Field::id_addr, 241, false},
    SetCase{"WiegandDipSwitch", Field::wiegand, 0x01, true}, SetCase{"WiegandDisabled", Field::wiegand, 0x45, true}, SetCase{"WiegandPastDisabled", Field::wiegand, 0x46, false},
    SetCase{"SerialFmtDisabled", Field::serial_fmt, 4, true}, SetCase{"SerialFmtTooHigh", Field::serial_fmt, 5, false},
    SetCase{"BaudHighest", Field::baud, 8, true}, SetCase{"BaudTooHigh", Field::baud, 9, false},
    SetCase{"PowerExternal", Field::power, 0x01, true}, SetCase{"PowerHighestLevel", Field::power, 0x3F, true}, SetCase{"PowerBetweenCodes", Field::power, 0x02, false},
    SetCase{"RereadLeaveMinutesZero", Field::reread, 0xC0, true}, SetCase{"RereadLeaveMinutesSixty", Field::reread, 0xFC, true}, SetCase{"RereadGapAfterSixty", Field::reread, 0xBD, false},
    SetCase{"SendSecondsSixty", Field::send_time, 0x7C, true}, SetCase{"SendGapAfterSixty", Field::send_time, 0x3D, false},
    SetCase{"SendBitSevenSet", Field::send_time, 0x80, false}),
    test::RowName{});

TEST(ReaderModel, SetAllAppliesEveryNonZeroByteOrNothing)
{
    ReaderModel model;
    EXPECT_EQ(Answers(model, Bytes(ComposeSetAll({0, 7, 0, 3, 0, 0x3F, 0, 0x45}))), "FE F1 00 FF");
    EXPECT_EQ(model.Fields(), (FieldBytes{0, 7, 0x41, 3, 4, 0x3F, 3, 0x45}));
    EXPECT_EQ(Answers(model, Bytes(ComposeSetAll({0, 9, 0, 0, 0, 0x02, 0, 0}))), "FE F1 02 FF");
    EXPECT_EQ(model.Fields(), (FieldBytes{0, 7, 0x41, 3, 4, 0x3F, 3, 0x45}));
}

TEST(ReaderModel, FactoryResetRestoresTheFactorySet)
{
    ReaderModel model;
    model.Feed(Bytes(ComposeFieldSet(Field::id_addr, 99)));
    EXPECT_EQ(Answers(model, Bytes(ComposeFactoryReset())), "FE F1 00 FF");
    EXPECT_EQ(model.Fields(), ReaderModel::kFactory);
}

TEST(ReaderModel, ABadChecksumIsRefused)
{
    ReaderModel model;
    Frame f = ComposeFieldSet(Field::id_addr, 9);
    f[kSumPos] = 0x10;
    EXPECT_EQ(Answers(model, Bytes(f)), "FE F1 01 FF");
    EXPECT_EQ(model.Fields(), ReaderModel::kFactory);
}

TEST(ReaderModel, ResynchronisesAfterJunkAndAcrossCalls)
{
    ReaderModel model;
    const ByteString query = Bytes(ComposeQuery());
    const ByteString junk("\x00\xFE\x12\xFE\xF1\x05", 6);
    EXPECT_EQ(Answers(model, junk + query.substr(0, 5)), "");
    EXPECT_EQ(Answers(model, query.substr(5) + query), "FE F1 00 01 41 01 04 20 03 05 6F FF | "
                                                       "FE F1 00 01 41 01 04 20 03 05 6F FF");
}

TEST(ReaderModel, FaultsApplyToTheNextReplyOnly)
{
    ReaderModel model;
    const ByteString query = Bytes(ComposeQuery());
    model.DropNextReply();
    EXPECT_EQ(Answers(model, query), "");
    model.CorruptNextChecksum();
    auto replies = model.Feed(query);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_FALSE(VerifyReport(std::span<const std::uint8_t, 12>(
        reinterpret_cast<const std::uint8_t *>(replies[0].bytes.data()), 12)));
    model.SplitNextReply();
    model.DelayNextReply(700);
    replies = model.Feed(query);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_TRUE(replies[0].split);
    EXPECT_EQ(replies[0].extra_delay_ms, 700);
    replies = model.Feed(query);
    EXPECT_FALSE(replies[0].split);
    EXPECT_EQ(replies[0].extra_delay_ms, 0);
    EXPECT_EQ(HexLine(replies[0].bytes), "FE F1 00 01 41 01 04 20 03 05 6F FF");
}

TEST(ReaderModel, CardOutputFollowsTheSerialFormat)
{
    ReaderModel model;
    EXPECT_EQ(HexLine(model.CardOutput(0x01020304)), "02 01 02 03 04 04 03");
    model.Feed(Bytes(ComposeFieldSet(Field::serial_fmt, 2)));
    EXPECT_EQ(model.CardOutput(0xBC614E), "00BC614E\r\n");
    model.Feed(Bytes(ComposeFieldSet(Field::serial_fmt, 3)));
    EXPECT_EQ(model.CardOutput(12345678), "12345678\r\n");
    model.Feed(Bytes(ComposeFieldSet(Field::serial_fmt, 4)));
    EXPECT_EQ(model.CardOutput(12345678), "");
}

TEST(ReaderModel, RandomStreamsGiveOnlyWellFormedReplies)
{
    std::mt19937 rng(99);
    ReaderModel model;
    const ByteString frame = Bytes(ComposeQuery());
    for (int i = 0; i < 5000; ++i) {
        ByteString chunk(rng() % 20, '\0');
        for (char &c : chunk)
            c = static_cast<char>((rng() % 4 == 0) ? 0xFE : rng());
        if (rng() % 5 == 0)
            chunk += frame.substr(0, rng() % (frame.size() + 1));
        for (const Reply &r : model.Feed(chunk))
            ASSERT_TRUE(r.bytes.size() == 4 || r.bytes.size() == 12);
        for (std::size_t f = 0; f < kFieldCount; ++f) {
            if (model.Fields()[f] != 0) {
                ASSERT_TRUE(AcceptableFieldValue(static_cast<Field>(f), model.Fields()[f]));
            }
        }
    }
    // After any junk, a whole frame is still understood.
    model.Feed(ByteString(11, '\x00'));
    EXPECT_EQ(model.Feed(frame).size(), 1u);
}
