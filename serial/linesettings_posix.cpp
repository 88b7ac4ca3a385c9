#include "linesettings.h"
#include "termiosline.h"

#include <array>
#include <sys/ioctl.h>
#include <utility>

namespace rovi {

std::optional<speed_t> StandardBaud(std::uint32_t rate)
{
    static constexpr std::array<std::pair<std::uint32_t, speed_t>, 30> kRates{{
        {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
        {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
        {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
        {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
        {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    }};
    for (const auto &[value, constant] : kRates)
        if (value == rate)
            return constant;
    return std::nullopt;
}

std::optional<termios> BuildTermios(const termios &current, const LineSettings &s)
{
    if (s.stopBits == StopBits::OnePointFive && s.dataBits != DataBits::Five)
        return std::nullopt;
    if (s.baudRate == 0)
        return std::nullopt; // B0 would hang the line up rather than set a speed

    termios t = current;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;

    if (const auto speed = StandardBaud(s.baudRate)) {
        cfsetispeed(&t, *speed);
        cfsetospeed(&t, *speed);
    }

    static constexpr std::array<tcflag_t, 4> kSizes{CS5, CS6, CS7, CS8};
    t.c_cflag &= ~CSIZE;
    t.c_cflag |= kSizes[static_cast<std::size_t>(s.dataBits)];

    t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (s.parity) {
    case Parity::None: break;
    case Parity::Odd: t.c_cflag |= PARENB | PARODD; break;
    case Parity::Even: t.c_cflag |= PARENB; break;
    case Parity::Mark: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case Parity::Space: t.c_cflag |= PARENB | CMSPAR; break;
    }

    if (s.stopBits == StopBits::One)
        t.c_cflag &= ~CSTOPB;
    else
        t.c_cflag |= CSTOPB;

    if (s.parityCheck)
        t.c_iflag |= INPCK;
    else
        t.c_iflag &= ~INPCK;

    if (s.outxCtsFlow || s.rtsControl == RtsControl::Handshake)
        t.c_cflag |= CRTSCTS;
    else
        t.c_cflag &= ~CRTSCTS;

    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (s.outxXonXoffFlow)
        t.c_iflag |= IXON;
    if (s.inxXonXoffFlow)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(s.xonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(s.xoffChar);
    return t;
}

namespace {

void SetModemLine(int fd, int line, bool on)
{
    (void)ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

} // namespace

// termios, the exact baud rate, and the DTR and RTS lines.
void ApplyLineSettingsToDevice(NativeHandle fd, const LineSettings &s)
{
    termios current{};
    if (tcgetattr(fd, &current) != 0)
        return;
    const auto wanted = BuildTermios(current, s);
    if (!wanted)
        return;
    if (tcsetattr(fd, TCSANOW, &*wanted) != 0)
        return;
    if (!StandardBaud(s.baudRate))
        (void)SetLineBaudRate(fd, s.baudRate);

    if (s.dtrControl != DtrControl::Handshake)
        SetModemLine(fd, TIOCM_DTR, s.dtrControl == DtrControl::Enable);
    if (s.rtsControl == RtsControl::Enable || s.rtsControl == RtsControl::Disable)
        SetModemLine(fd, TIOCM_RTS, s.rtsControl == RtsControl::Enable);
}

} // namespace rovi
