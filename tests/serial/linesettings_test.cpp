#include "serial/device.h"
#include "serial/linesettings.h"
#include "tests/support/pty.h"

#include <gtest/gtest.h>

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
    TByteSize size;
    TParity parity;
    TStopBits stop;
    tcflag_t csize;
    tcflag_t parity_bits;
    bool cstopb;
};

class FrameFormat : public testing::TestWithParam<FrameCase> {};

TEST_P(FrameFormat, MapsDataParityAndStopBits)
{
    LineSettings s;
    s.ByteSize = GetParam().size;
    s.Parity = GetParam().parity;
    s.StopBits = GetParam().stop;
    const termios t = Build(s);
    EXPECT_EQ(t.c_cflag & CSIZE, GetParam().csize);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), GetParam().parity_bits);
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, GetParam().cstopb);
}

INSTANTIATE_TEST_SUITE_P(Table, FrameFormat, testing::Values(
    FrameCase{TByteSize::_8, TParity::None, TStopBits::_1, CS8, 0, false},
    FrameCase{TByteSize::_7, TParity::Odd, TStopBits::_2, CS7, PARENB | PARODD, true},
    FrameCase{TByteSize::_6, TParity::Even, TStopBits::_1, CS6, PARENB, false},
    FrameCase{TByteSize::_8, TParity::Mark, TStopBits::_1, CS8, PARENB | PARODD | CMSPAR, false},
    FrameCase{TByteSize::_8, TParity::Space, TStopBits::_2, CS8, PARENB | CMSPAR, true},
    FrameCase{TByteSize::_5, TParity::None, TStopBits::_1_5, CS5, 0, true}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

TEST(BuildTermios, OneAndAHalfStopBitsNeedFiveDataBits)
{
    LineSettings s;
    s.StopBits = TStopBits::_1_5;
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

    s.Outx_XonXoffFlow = s.Inx_XonXoffFlow = false;
    s.RtsControl = TRtsControl::RtsHandshake;
    s.ParityCheck = true;
    s.XonChar = 1;
    t = Build(s);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_NE(t.c_iflag & INPCK, 0u);
    EXPECT_EQ(t.c_cc[VSTART], 1);

    s.RtsControl = TRtsControl::RtsEnable;
    s.Outx_CtsFlow = true;
    EXPECT_NE(Build(s).c_cflag & CRTSCTS, 0u);
}

TEST(ApplyLineSettings, APseudoTerminalKeepsAnExactNonStandardRate)
{
    rovi::test::Pty pty;
    const int fd = CommDevice::OpenExclusive(pty.SlavePath());
    LineSettings s;
    s.BaudRate = 250000;
    ApplyLineSettingsToDevice(fd, s);
    EXPECT_EQ(ReadLineBaudRate(fd), 250000u);
    s.BaudRate = 19200;
    ApplyLineSettingsToDevice(fd, s);
    EXPECT_EQ(ReadLineBaudRate(fd), 19200u);
    CommDevice::CloseExclusive(fd);
}

TEST(ResolveCommName, ExistingPathsAsTheyStandAndComNumbersAsTtyS)
{
    EXPECT_EQ(ResolveCommName("/dev/null"), "/dev/null");
    EXPECT_EQ(ResolveCommName("COM1"), "/dev/ttyS0");
    EXPECT_EQ(ResolveCommName("com12"), "/dev/ttyS11");
    EXPECT_EQ(ResolveCommName("CoM3"), "/dev/ttyS2");
    EXPECT_EQ(ResolveCommName("COM0"), std::nullopt);
    EXPECT_EQ(ResolveCommName("COM"), std::nullopt);
    EXPECT_EQ(ResolveCommName("COM1x"), std::nullopt);
    EXPECT_EQ(ResolveCommName("COM-1"), std::nullopt);
    EXPECT_EQ(ResolveCommName(""), std::nullopt);
    EXPECT_EQ(ResolveCommName("ttyUSB0"), std::nullopt);
}
