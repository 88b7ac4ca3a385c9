#pragma once

// How many received bytes are posted to the window thread and not yet
// handled. The reader waits while more than the limit is held, so a window
// that cannot keep up leaves the rest in the driver (and the sender waits
// as on any slow line) instead of in an ever longer event queue. Chunks are
// still handed over one by one, never merged or dropped.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace rovi {

class ReceiveBacklog {
public:
    explicit ReceiveBacklog(std::size_t limit) : limit_(limit) {}

    void Hold(std::size_t bytes)
    {
        std::lock_guard lock(mutex_);
        held_ += bytes;
    }
    // A chunk handled (or discarded with its notice).
    void Release(std::size_t bytes)
    {
        {
            std::lock_guard lock(mutex_);
            held_ -= bytes;
        }
        below_.notify_one();
    }
    std::size_t Held() const
    {
        std::lock_guard lock(mutex_);
        return held_;
    }

    // Waits while more than the limit is held, looking at `stop` every few
    // milliseconds (the close event) so a closing port is never held up.
    template <class Stop> void WaitBelowLimit(Stop stop)
    {
        std::unique_lock lock(mutex_);
        while (held_ > limit_) {
            if (stop())
                return;
            below_.wait_for(lock, std::chrono::milliseconds(10));
        }
    }

private:
    const std::size_t limit_;
    mutable std::mutex mutex_;
    std::condition_variable below_;
    std::size_t held_ = 0;
};

} // namespace rovi
