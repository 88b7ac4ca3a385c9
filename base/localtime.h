#pragma once

// Wall-clock times as the program writes them: local time, milliseconds.

#include <chrono>
#include <string>

namespace rovi {

using WallClock = std::chrono::system_clock;

// "2026-12-10"
std::string LocalDay(WallClock::time_point when);
// "14:03:07.412"
std::string LocalClock(WallClock::time_point when);
// "2026-12-10 14:03:07.412"
std::string LocalDayClock(WallClock::time_point when);

} // namespace rovi
