#include "readplan.h"

#include <algorithm>

namespace rovi {

ReadPlan PlanRead(const LineTimeouts &t)
{
    using std::chrono::milliseconds;
    ReadPlan plan;
    if (t.readInterval == kTimeoutAllOnes && t.readTotalMultiplier == 0 &&
        t.readTotalConstant == 0) {
        // "Return at once with what is there": we wait for the first bytes
        // instead of returning empty reads, so an idle line costs nothing.
        plan.return_on_first_bytes = true;
        return plan;
    }
    if (t.readInterval == kTimeoutAllOnes && t.readTotalMultiplier == kTimeoutAllOnes &&
        t.readTotalConstant > 0 && t.readTotalConstant < kTimeoutAllOnes) {
        plan.return_on_first_bytes = true;
        plan.total = milliseconds(t.readTotalConstant);
        return plan;
    }
    const std::uint64_t total_ms =
        std::uint64_t{t.readTotalMultiplier} * kReadBufferSize + t.readTotalConstant;
    if (total_ms > 0)
        plan.total = std::min(milliseconds(total_ms), kLongestReadTotal);
    if (t.readInterval > 0)
        plan.interval = milliseconds(t.readInterval);
    return plan;
}

std::chrono::milliseconds GatherPause(const ReadPlan &plan)
{
    using std::chrono::milliseconds;
    if (plan.return_on_first_bytes || !plan.interval)
        return milliseconds(0);
    const milliseconds pause = std::min(milliseconds(16), *plan.interval / 6);
    return pause.count() >= 1 ? pause : milliseconds(0);
}

} // namespace rovi
