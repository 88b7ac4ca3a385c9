#pragma once

// "This many within that long": a count of the events of a sliding window,
// for rules such as "50 aborted reads within a second" or "three hang-ups
// within two seconds". Plain C++; the caller gives the time.

#include <chrono>
#include <deque>

namespace rovi {

class RecentEvents {
public:
    using Clock = std::chrono::steady_clock;

    RecentEvents(int count, std::chrono::milliseconds window) : count_(count), window_(window) {}

    // One more event at `now`: true when `count` of them fall within the window.
    bool Add(Clock::time_point now)
    {
        events_.push_back(now);
        while (!events_.empty() && now - events_.front() > window_)
            events_.pop_front();
        return static_cast<int>(events_.size()) >= count_;
    }
    void Clear() { events_.clear(); }

private:
    const int count_;
    const std::chrono::milliseconds window_;
    std::deque<Clock::time_point> events_;
};

} // namespace rovi
