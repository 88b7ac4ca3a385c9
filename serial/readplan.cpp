#include "readplan.h"

#include <algorithm>

namespace rovi {

ReadPlan PlanRead(const CommTimeouts &t)
{
    using std::chrono::milliseconds;
    ReadPlan plan;
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
        t.ReadTotalTimeoutConstant == 0) {
        // "Return at once with what is there": we wait for the first bytes
        // instead of returning empty reads, so an idle line costs nothing.
        plan.return_on_first_bytes = true;
        return plan;
    }
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
        t.ReadTotalTimeoutConstant > 0 && t.ReadTotalTimeoutConstant < MAXDWORD) {
        plan.return_on_first_bytes = true;
        plan.total = milliseconds(t.ReadTotalTimeoutConstant);
        return plan;
    }
    const std::uint64_t total_ms =
        std::uint64_t{t.ReadTotalTimeoutMultiplier} * kReadBufferSize + t.ReadTotalTimeoutConstant;
    if (total_ms > 0)
        plan.total = std::min(milliseconds(total_ms), kLongestReadTotal);
    if (t.ReadIntervalTimeout > 0)
        plan.interval = milliseconds(t.ReadIntervalTimeout);
    return plan;
}

} // namespace rovi
