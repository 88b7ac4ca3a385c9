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
    LineTimeouts t;
    t.readInterval = Take<std::uint32_t>(data, size);
    t.readTotalMultiplier = Take<std::uint32_t>(data, size);
    t.readTotalConstant = Take<std::uint32_t>(data, size);
    const ReadPlan plan = PlanRead(t);
    const auto now = std::chrono::steady_clock::now();
    if (plan.total) {
        FUZZ_CHECK(plan.total->count() > 0 && *plan.total <= kLongestReadTotal);
        FUZZ_CHECK(now + *plan.total > now);
    }
    if (plan.interval)
        FUZZ_CHECK(plan.interval->count() > 0 && now + *plan.interval > now);

    LineSettings s;
    s.baudRate = Take<std::uint32_t>(data, size);
    const auto flags = Take<std::uint16_t>(data, size);
    s.parityCheck = flags & 1;
    s.outxCtsFlow = flags & 2;
    s.outxXonXoffFlow = flags & 4;
    s.inxXonXoffFlow = flags & 8;
    s.dataBits = static_cast<DataBits>(Take<std::uint8_t>(data, size) % 4);
    s.parity = static_cast<Parity>(Take<std::uint8_t>(data, size) % 5);
    s.stopBits = static_cast<StopBits>(Take<std::uint8_t>(data, size) % 3);
    s.rtsControl = static_cast<RtsControl>(Take<std::uint8_t>(data, size) % 4);
    const termios base = Take<termios>(data, size);

    const auto built = BuildTermios(base, s);
    const bool runnable = s.baudRate != 0 && !(s.stopBits == StopBits::OnePointFive && s.dataBits != DataBits::Five);
    FUZZ_CHECK(built.has_value() == runnable);
    if (!built)
        return 0;
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    FUZZ_CHECK((built->c_cflag & CSIZE) == kSizes[static_cast<int>(s.dataBits)]);
    FUZZ_CHECK((built->c_cflag & (CLOCAL | CREAD)) == (CLOCAL | CREAD));
    FUZZ_CHECK((built->c_lflag & (ICANON | ECHO | ISIG)) == 0);
    FUZZ_CHECK(built->c_cc[VMIN] == 0 && built->c_cc[VTIME] == 0);
    FUZZ_CHECK(((built->c_cflag & PARENB) != 0) == (s.parity != Parity::None));
    FUZZ_CHECK(((built->c_cflag & CSTOPB) != 0) == (s.stopBits != StopBits::One));
    FUZZ_CHECK(((built->c_iflag & INPCK) != 0) == s.parityCheck);
    if (const auto speed = StandardBaud(s.baudRate))
        FUZZ_CHECK(cfgetospeed(&*built) == *speed && cfgetispeed(&*built) == *speed);
    return 0;
}
