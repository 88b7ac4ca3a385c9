#pragma once

#include "linetypes.h"
#include "serialconstants.h"

#include <chrono>
#include <optional>

namespace rovi {

// What the read time-outs ask of one read, with the meaning COMMTIMEOUTS
// gives them: an overall limit from the start of the read, a limit between
// bytes once one has arrived, or completion as soon as any bytes are there.
struct ReadPlan {
    std::optional<std::chrono::milliseconds> total;
    std::optional<std::chrono::milliseconds> interval;
    bool return_on_first_bytes = false;
    bool operator==(const ReadPlan &) const = default;
};

// The longest overall limit a read is given. Larger totals (the multiplier
// near kTimeoutAllOnes reaches 560 years) are practically endless and are cut to
// this, so that a deadline from now can never overflow the clock.
inline constexpr std::chrono::milliseconds kLongestReadTotal = std::chrono::hours(24 * 365 * 10);

ReadPlan PlanRead(const CommTimeouts &t);

} // namespace rovi
