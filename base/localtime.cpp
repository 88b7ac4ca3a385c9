#include "localtime.h"

#include <cstdio>
#include <ctime>

namespace rovi {

namespace {

struct Local {
    std::tm tm;
    int millis;
};

Local ToLocal(WallClock::time_point when)
{
    const auto since = when.time_since_epoch();
    auto seconds = std::chrono::floor<std::chrono::seconds>(since);
    const std::time_t t = static_cast<std::time_t>(seconds.count());
    Local local{};
#ifdef _WIN32
    localtime_s(&local.tm, &t);
#else
    localtime_r(&t, &local.tm);
#endif
    local.millis = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(since - seconds).count());
    return local;
}

std::string Format(const char *format, const std::tm &tm)
{
    char text[64];
    const std::size_t n = std::strftime(text, sizeof text, format, &tm);
    return std::string(text, n);
}

std::string Millis(int millis)
{
    char text[8];
    std::snprintf(text, sizeof text, ".%03d", millis);
    return text;
}

} // namespace

std::string LocalDay(WallClock::time_point when)
{
    return Format("%Y-%m-%d", ToLocal(when).tm);
}

std::string LocalClock(WallClock::time_point when)
{
    const Local local = ToLocal(when);
    return Format("%H:%M:%S", local.tm) + Millis(local.millis);
}

std::string LocalDayClock(WallClock::time_point when)
{
    const Local local = ToLocal(when);
    return Format("%Y-%m-%d %H:%M:%S", local.tm) + Millis(local.millis);
}

} // namespace rovi
