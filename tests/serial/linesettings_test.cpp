#include "serial/device.h"
#include "serial/lineerrors.h"
#include "serial/linesettings.h"
#include "serial/termiosline.h"
#include "serial/readplan.h"
#include "tests/support/pty.h"

#include "tests/support/rowname.h"

#include <gtest/gtest.h>

#include <climits>

using namespace rovi;

namespace {

termios Build(const LineSettings &s)
{
    termios base{};
    base.c_lflag = ICANON | ECHO;
    base.c_iflag = ICRNL | IXANY;
    auto t = BuildTermios(base, s);
    EXPECT_TRUE(t.has_value());
    return t.value_or(termios{});
}

} // namespace

TEST(BuildTermios, RawReceiverOnAndReadsThatNeverBlock)
{
    const termios t = Build(LineSettings{});
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IXANY), 0u);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
}

struct FrameCase {
    const char *name;
    DataBits size;
    Parity parity;
    StopBits stop;
    tcflag_t csize;
    tcflag_t parity_bits;
    bool cstopb;
};

class FrameFormat : public testing::TestWithParam<FrameCase> {};

TEST_P(FrameFormat, MapsDataParityAndStopBits)
{
    LineSettings s;
    s.dataBits = GetParam().size;
    s.parity = GetParam().parity;
    s.stopBits = GetParam().stop;
    const termios t = Build(s);
    EXPECT_EQ(t.c_cflag & CSIZE, GetParam().csize);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), GetParam().parity_bits);
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, GetParam().cstopb);
}

INSTANTIATE_TEST_SUITE_P(Table, FrameFormat, testing::Values(
    FrameCase{"EightNoneOne", DataBits::Eight, Parity::None, StopBits::One, CS8, 0, false},
    FrameCase{"SevenOddTwo", DataBits::Seven, Parity::Odd, StopBits::Two, CS7, PARENB | PARODD, true},
    FrameCase{"SixEvenOne", DataBits::Six, Parity::Even, StopBits::One, CS6, PARENB, false},
    FrameCase{"EightMarkOne", DataBits::Eight, Parity::Mark, StopBits::One, CS8, PARENB | PARODD | CMSPAR, false},
    FrameCase{"EightSpaceTwo", DataBits::Eight, Parity::Space, StopBits::Two, CS8, PARENB | CMSPAR, true},
    FrameCase{"FiveNoneOneAndAHalf", DataBits::Five, Parity::None, StopBits::OnePointFive, CS5, 0, true}),
    test::RowName{});

TEST(BuildTermios, RefusesSettingsTheLineCannotRun)
{
    LineSettings s;
    s.stopBits = StopBits::OnePointFive; // needs five data bits
    EXPECT_FALSE(BuildTermios(termios{}, s).has_value());
    s = LineSettings{};
    s.baudRate = 0; // would mean "hang up"
    EXPECT_FALSE(BuildTermios(termios{}, s).has_value());
}

TEST(BuildTermios, FlowControlAndCharacters)
{
    LineSettings s; // defaults: XON/XOFF both ways
    termios t = Build(s);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    EXPECT_EQ(t.c_cc[VSTART], 17);
    EXPECT_EQ(t.c_cc[VSTOP], 19);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & INPCK, 0u);

    s.outxXonXoffFlow = s.inxXonXoffFlow = false;
    s.rtsControl = RtsControl::Handshake;
    s.parityCheck = true;
    s.xonChar = 1;
    t = Build(s);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_NE(t.c_iflag & INPCK, 0u);
    EXPECT_EQ(t.c_cc[VSTART], 1);

    s.rtsControl = RtsControl::Enable;
    s.outxCtsFlow = true;
    EXPECT_NE(Build(s).c_cflag & CRTSCTS, 0u);
}

TEST(ApplyLineSettings, APseudoTerminalKeepsAnExactNonStandardRate)
{
    rovi::test::Pty pty;
    const int fd = SerialDevice::OpenExclusive(pty.SlavePath());
    LineSettings s;
    s.baudRate = 250000;
    ApplyLineSettingsToDevice(fd, s);
    EXPECT_EQ(ReadLineBaudRate(fd), 250000u);
    s.baudRate = 19200;
    ApplyLineSettingsToDevice(fd, s);
    EXPECT_EQ(ReadLineBaudRate(fd), 19200u);
    SerialDevice::CloseExclusive(fd);
}

TEST(ResolvePortName, ExistingPathsAsTheyStandAndComNumbersAsTtyS)
{
    EXPECT_EQ(ResolvePortName("/dev/null"), "/dev/null");
    EXPECT_EQ(ResolvePortName("COM1"), "/dev/ttyS0");
    EXPECT_EQ(ResolvePortName("com12"), "/dev/ttyS11");
    EXPECT_EQ(ResolvePortName("CoM3"), "/dev/ttyS2");
    EXPECT_EQ(ResolvePortName("COM0"), std::nullopt);
    EXPECT_EQ(ResolvePortName("COM"), std::nullopt);
    EXPECT_EQ(ResolvePortName("COM1x"), std::nullopt);
    EXPECT_EQ(ResolvePortName("COM-1"), std::nullopt);
    EXPECT_EQ(ResolvePortName(""), std::nullopt);
    EXPECT_EQ(ResolvePortName("ttyUSB0"), std::nullopt);
}

TEST(PlanRead, TheMeaningOfTheReadTimeOuts)
{
    using std::chrono::milliseconds;
    auto plan = [](std::uint32_t ri, std::uint32_t rm, std::uint32_t rc) {
        LineTimeouts t;
        t.readInterval = ri;
        t.readTotalMultiplier = rm;
        t.readTotalConstant = rc;
        return PlanRead(t);
    };
    // The line the program runs: no overall limit, 100 ms between bytes.
    EXPECT_EQ(plan(100, 0, 0), (ReadPlan{std::nullopt, milliseconds(100), false}));
    // Interval 0: only a full buffer completes a read.
    EXPECT_EQ(plan(0, 0, 0), (ReadPlan{std::nullopt, std::nullopt, false}));
    // Total limits: multiplier per requested byte (4096) plus the constant.
    EXPECT_EQ(plan(0, 1, 50), (ReadPlan{milliseconds(4096 + 50), std::nullopt, false}));
    EXPECT_EQ(plan(20, 0, 300), (ReadPlan{milliseconds(300), milliseconds(20), false}));
    // kTimeoutAllOnes combinations: return with what is there.
    EXPECT_EQ(plan(kTimeoutAllOnes, 0, 0), (ReadPlan{std::nullopt, std::nullopt, true}));
    EXPECT_EQ(plan(kTimeoutAllOnes, kTimeoutAllOnes, 250), (ReadPlan{milliseconds(250), std::nullopt, true}));
    EXPECT_EQ(plan(kTimeoutAllOnes, kTimeoutAllOnes, kTimeoutAllOnes).return_on_first_bytes, false);
}

TEST(GatherPause, ASixthOfTheIntervalAtMostSixteenMilliseconds)
{
    using std::chrono::milliseconds;
    const struct {
        ReadPlan plan;
        milliseconds pause;
    } rows[] = {
        {{std::nullopt, milliseconds(100), false}, milliseconds(16)}, // the program's line
        {{std::nullopt, milliseconds(40), false}, milliseconds(6)},
        {{milliseconds(300), milliseconds(20), false}, milliseconds(3)},
        {{std::nullopt, milliseconds(6), false}, milliseconds(1)},
        {{std::nullopt, milliseconds(5), false}, milliseconds(0)},   // too short to rest in
        {{milliseconds(50), std::nullopt, false}, milliseconds(0)},   // no interval to measure
        {{std::nullopt, std::nullopt, true}, milliseconds(0)},        // returns with its first bytes
        {{std::nullopt, milliseconds(100000), false}, milliseconds(16)},
    };
    for (const auto &row : rows)
        EXPECT_EQ(GatherPause(row.plan), row.pause) << (row.plan.interval ? row.plan.interval->count() : -1);
}

TEST(PlanRead, AHugeTotalIsPracticallyEndlessAndItsDeadlineDoesNotOverflow)
{
    LineTimeouts t;
    t.readTotalMultiplier = kTimeoutAllOnes - 1;
    t.readTotalConstant = kTimeoutAllOnes - 1;
    const ReadPlan plan = PlanRead(t);
    ASSERT_TRUE(plan.total.has_value());
    EXPECT_EQ(*plan.total, kLongestReadTotal);
    EXPECT_EQ(plan.interval, std::chrono::milliseconds(100));
    const auto now = std::chrono::steady_clock::now();
    EXPECT_GT(now + *plan.total, now + std::chrono::hours(24 * 365));
}

TEST(LineErrors, CountersThatMovedBecomeTheirFlags)
{
    const LineErrorCounts base{3, 4, 5, 6, 7};
    struct Case {
        const char *what;
        LineErrorCounts after;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {"nothing moved", base, 0},
        {"a framing error", {4, 4, 5, 6, 7}, LineError::Framing},
        {"a parity error", {3, 5, 5, 6, 7}, LineError::Parity},
        {"a hardware overrun", {3, 4, 6, 6, 7}, LineError::Overrun},
        {"a break", {3, 4, 5, 7, 7}, LineError::Break},
        {"the input buffer overflowed", {3, 4, 5, 6, 8}, LineError::InputOverflow},
        {"several at once", {9, 4, 6, 6, 8}, LineError::Framing | LineError::Overrun | LineError::InputOverflow},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LineErrorFlags(base, c.after), c.flags) << c.what;
    // A counter that wrapped around still moved.
    EXPECT_EQ(LineErrorFlags({INT_MAX, 0, 0, 0, 0}, {INT_MIN, 0, 0, 0, 0}), LineError::Framing);
}

TEST(LineErrors, TheFirstErrorAfterOpenIsReportedOnceAndADeviceWithoutCountersNever)
{
    LineErrorWatch watch(LineErrorCounts{}); // the reading taken at open
    EXPECT_EQ(watch.Update({0, 1, 0, 0, 0}), LineError::Parity);
    EXPECT_EQ(watch.Update({0, 1, 0, 0, 0}), 0u);
    EXPECT_EQ(watch.Update({1, 1, 0, 0, 0}), LineError::Framing);

    LineErrorWatch none(std::nullopt);
    EXPECT_FALSE(none.Active());
    EXPECT_EQ(ReadLineErrorCounts(-1), std::nullopt);
}
