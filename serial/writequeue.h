#pragma once

#include "waitevent.h"
#include "base/bytes.h"

#include <deque>
#include <mutex>
#include <optional>

namespace rovi {

// The writer's request queue with a wake-up event. It accepts requests
// until the writer closes it at its end; then it refuses them.
class WriteQueue {
public:
    bool Valid() const { return wake_.Valid(); }
    NativeHandle WakeHandle() const { return wake_.Handle(); }

    // False once the queue is closed.
    bool Push(ByteString request);
    // Clears the wake-up before looking, so a later Push always wakes the poller.
    std::optional<ByteString> TryPop();
    // Refuses further requests and drops the queued ones.
    void Close();

private:
    WaitEvent wake_;
    std::mutex mutex_;
    std::deque<ByteString> requests_;
    bool closed_ = false;
};

} // namespace rovi
