#pragma once

// A driver may abort a pending read (a purge does, and so do some drivers
// of unplugged adapters while the device still answers). Each abort is read
// again after a short pause; a run of aborts — this many within the window
// — is taken as the device being gone, so a driver that aborts every read
// at once cannot keep the reader spinning at its high priority.

#include "base/recentevents.h"

#include <chrono>

namespace rovi {

class AbortRun {
public:
    using Clock = RecentEvents::Clock;
    static constexpr int kMaxAborts = 50;
    static constexpr std::chrono::milliseconds kWindow{1000};
    static constexpr std::chrono::milliseconds kPause{5}; // before the read again

    // One more abort at `now`: true when the run is long enough to be a hang-up.
    bool IsHangup(Clock::time_point now) { return aborts_.Add(now); }
    // A read that completed ends the run.
    void Reset() { aborts_.Clear(); }

private:
    RecentEvents aborts_{kMaxAborts, kWindow};
};

} // namespace rovi
