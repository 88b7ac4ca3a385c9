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

ReadPlan PlanRead(const LineTimeouts &t);

// How long the reader rests between reads once a read has bytes and waits
// for more. A steady line then costs one wake-up a pause, not one for each
// burst the device hands over. A byte that comes during the rest is seen
// when it ends, so a gap is measured at most this much too long: a sixth of
// the interval, at most 16 ms (the Windows clock tick, 15.6 ms, by which a
// Windows serial driver measures its interval time-out too). Zero where a
// read returns with its first bytes or has no interval, and below a
// millisecond.
std::chrono::milliseconds GatherPause(const ReadPlan &plan);

} // namespace rovi
