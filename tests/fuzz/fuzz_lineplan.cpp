// The read plan and the termios builder on any time-outs and line settings:
// a plan's deadline never overflows the clock, and a built termios is always
// raw, never blocking in the driver, and has the asked frame format.
#include "check.h"
#include "serial/termiosline.h"
#include "serial/readplan.h"

#include <chrono>
#include <cstdint>
#include <cstring>

using namespace rovi;

namespace {

template <class T> T Take(const std::uint8_t *&data, std::size_t &size)
{
    T v{};
    const std::size_t n = std::min(sizeof v, size);
    std::memcpy(&v, data, n);
    data += n;
    size -= n;
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    CommTimeouts t;
    t.ReadIntervalTimeout = Take<std::uint32_t>(data, size);
    t.ReadTotalTimeoutMultiplier = Take<std::uint32_t>(data, size);
    t.ReadTotalTimeoutConstant = Take<std::uint32_t>(data, size);
    const ReadPlan plan = PlanRead(t);
    const auto now = std::chrono::steady_clock::now();
    if (plan.total) {
        FUZZ_CHECK(plan.total->count() > 0 && *plan.total <= kLongestReadTotal);
        FUZZ_CHECK(now + *plan.total > now);
    }
    if (plan.interval)
        FUZZ_CHECK(plan.interval->count() > 0 && now + *plan.interval > now);

    LineSettings s;
    s.BaudRate = Take<std::uint32_t>(data, size);
    const auto flags = Take<std::uint16_t>(data, size);
    s.ParityCheck = flags & 1;
    s.Outx_CtsFlow = flags & 2;
    s.Outx_XonXoffFlow = flags & 4;
    s.Inx_XonXoffFlow = flags & 8;
    s.ByteSize = static_cast<TByteSize>(Take<std::uint8_t>(data, size) % 4);
    s.Parity = static_cast<TParity>(Take<std::uint8_t>(data, size) % 5);
    s.StopBits = static_cast<TStopBits>(Take<std::uint8_t>(data, size) % 3);
    s.RtsControl = static_cast<TRtsControl>(Take<std::uint8_t>(data, size) % 4);
    const termios base = Take<termios>(data, size);

    const auto built = BuildTermios(base, s);
    const bool runnable = s.BaudRate != 0 && !(s.StopBits == TStopBits::_1_5 && s.ByteSize != TByteSize::_5);
    FUZZ_CHECK(built.has_value() == runnable);
    if (!built)
        return 0;
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    FUZZ_CHECK((built->c_cflag & CSIZE) == kSizes[static_cast<int>(s.ByteSize)]);
    FUZZ_CHECK((built->c_cflag & (CLOCAL | CREAD)) == (CLOCAL | CREAD));
    FUZZ_CHECK((built->c_lflag & (ICANON | ECHO | ISIG)) == 0);
    FUZZ_CHECK(built->c_cc[VMIN] == 0 && built->c_cc[VTIME] == 0);
    FUZZ_CHECK(((built->c_cflag & PARENB) != 0) == (s.Parity != TParity::None));
    FUZZ_CHECK(((built->c_cflag & CSTOPB) != 0) == (s.StopBits != TStopBits::_1));
    FUZZ_CHECK(((built->c_iflag & INPCK) != 0) == s.ParityCheck);
    if (const auto speed = StandardBaud(s.BaudRate))
        FUZZ_CHECK(cfgetospeed(&*built) == *speed && cfgetispeed(&*built) == *speed);
    return 0;
}
