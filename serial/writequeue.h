#pragma once

#include "protocol/bytes.h"

#include <deque>
#include <mutex>
#include <optional>

namespace rovi {

// The writer's request queue with a wake-up eventfd. It accepts requests
// until the writer closes it at its end; then it refuses them.
class WriteQueue {
public:
    WriteQueue();
    ~WriteQueue();
    WriteQueue(const WriteQueue &) = delete;
    WriteQueue &operator=(const WriteQueue &) = delete;

    bool Valid() const { return wake_fd_ >= 0; }
    int WakeFd() const { return wake_fd_; }

    // False once the queue is closed.
    bool Push(ByteString request);
    // Clears the wake-up before looking, so a later Push always wakes the poller.
    std::optional<ByteString> TryPop();
    // Refuses further requests and drops the queued ones.
    void Close();

private:
    int wake_fd_;
    std::mutex mutex_;
    std::deque<ByteString> requests_;
    bool closed_ = false;
};

} // namespace rovi
