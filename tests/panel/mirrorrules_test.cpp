#include "panel/mirrorrules.h"
#include "tests/support/expecterror.h"
#include "base/exception.h"

#include "tests/support/rowname.h"

#include <gtest/gtest.h>

using namespace rovi;
using namespace rovi::panel;

namespace {

RuleOutcome Mirror(const char *m) { return {m, std::nullopt}; }
RuleOutcome Message(const char *m) { return {std::nullopt, m}; }

} // namespace

struct RereadCase {
    const char *name;
    const char *text;
    bool checked;
    int unit; // 0 分, 1 秒
    RuleOutcome outcome;
};

class RereadTable : public testing::TestWithParam<RereadCase> {};

TEST_P(RereadTable, GivesTheMirrorOrTheRangeMessage)
{
    const auto &c = GetParam();
    EXPECT_EQ(RereadChange(c.text, c.checked, c.unit), c.outcome) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, RereadTable, testing::Values(
    RereadCase{"ZeroSecondsBecomesMinutes", "0", false, 1, Mirror("40")}, RereadCase{"ZeroSecondsLeaveMode", "0", true, 1, Mirror("C0")},
    RereadCase{"ZeroMinutes", "0", false, 0, Mirror("40")}, RereadCase{"SixtyMinutesLeaveMode", "60", true, 0, Mirror("FC")},
    RereadCase{"TenSecondsLeaveMode", "10", true, 1, Mirror("8A")}, RereadCase{"ThreeSeconds", "3", false, 1, Mirror("03")},
    RereadCase{"FiveMinutes", "5", false, 0, Mirror("45")}, RereadCase{"EmptyIsZero", "", false, 1, Mirror("40")},
    RereadCase{"OverflowParsesAsZero", "12345678901", true, 0, Mirror("C0")}, // overflows: v = 1, t = 0
    RereadCase{"SixtyOneOutOfRange", "61", false, 1, Message(kTimeRangeMessage)}, RereadCase{"NegativeOutOfRange", "-3", false, 1, Message(kTimeRangeMessage)}),
    test::RowName{});

struct SendCase {
    const char *name;
    const char *text;
    int unit; // 0 秒, 1 0.1秒
    RuleOutcome outcome;
};

class SendTimeTable : public testing::TestWithParam<SendCase> {};

TEST_P(SendTimeTable, GivesTheMirrorOrTheRangeMessage)
{
    EXPECT_EQ(SendTimeChange(GetParam().text, GetParam().unit), GetParam().outcome) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, SendTimeTable, testing::Values(
    SendCase{"ZeroTenthsBecomesSeconds", "0", 1, Mirror("40")}, SendCase{"FiveSeconds", "5", 0, Mirror("45")}, SendCase{"FiveTenths", "5", 1, Mirror("05")},
    SendCase{"ZeroSeconds", "0", 0, Mirror("40")}, SendCase{"SixtySeconds", "60", 0, Mirror("7C")}, SendCase{"SixtyTenths", "60", 1, Mirror("3C")},
    SendCase{"SixtyOneOutOfRange", "61", 0, Message(kTimeRangeMessage)}),
    test::RowName{});

TEST(IdRules, ChangeWritesTheMirrorRefusesTheRangeAndThrowsOnText)
{
    EXPECT_EQ(IdChange("2"), Mirror("02"));
    EXPECT_EQ(IdChange("24"), Mirror("18"));
    EXPECT_EQ(IdChange("240"), Mirror("F0"));
    EXPECT_EQ(IdChange("241"), Message(kIdRangeMessage));
    EXPECT_EQ(IdChange("0"), Message(kIdRangeMessage));
    test::ExpectError<ConversionError>([] { IdChange(""); }, "'' is not a valid integer value");
}

TEST(IdRules, ExitShowsTheFormatOrRangeMessage)
{
    EXPECT_EQ(IdExit("5"), Mirror("05"));
    EXPECT_EQ(IdExit(""), Message(kIdFormatMessage));
    EXPECT_EQ(IdExit("300"), Message(kIdRangeMessage));
}

TEST(TimeExitRules, OnlyAParsedValueOutOfRangeShowsItsMessage)
{
    EXPECT_EQ(RereadExit(""), std::nullopt);
    EXPECT_EQ(RereadExit("60"), std::nullopt);
    EXPECT_EQ(RereadExit("61"), kRereadExitMessage);
    EXPECT_EQ(SendTimeExit("-1"), kSendTimeExitMessage);
    EXPECT_EQ(SendTimeExit("0"), std::nullopt);
}

TEST(ListRules, MirrorsOfTheListsAndRadios)
{
    EXPECT_EQ(WiegandMirror(WiegandOutput{4}), "45");
    EXPECT_EQ(WiegandMirror(DipSwitchControl{}), "01");
    EXPECT_EQ(PowerMirror(SoftwareControl{31}), "3F");
    EXPECT_EQ(PowerMirror(ExternalControl{}), "01");
    EXPECT_EQ(SerialFmtMirror(3), "04");
    EXPECT_EQ(BaudMirror(7), "08");
    EXPECT_EQ(RereadModeCaption(true), "离开重读");
    EXPECT_EQ(RereadModeCaption(false), "连续重读");
}

TEST(DigitFilter, AcceptsDigitsAndBackspaceOnly)
{
    for (char32_t c = 0; c < 128; ++c)
        EXPECT_EQ(DigitFilterAccepts(c), (c >= U'0' && c <= U'9') || c == 8) << static_cast<int>(c);
    EXPECT_FALSE(DigitFilterAccepts(U'５')); // full-width digit
}
