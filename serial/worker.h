#pragma once

#include <QThread>

#include <atomic>

namespace rovi {

// A worker thread whose end is published through an atomic flag, so that
// whoever joins it sees everything the body did (QThread::wait synchronises
// through Qt's own futexes, which race detectors cannot see).
class CommWorker : public QThread {
public:
    // Waits until the body has returned; returns at once for a thread never started.
    void Join()
    {
        wait();
        (void)ended_.load(std::memory_order_acquire);
    }

protected:
    virtual void Body() = 0;

private:
    void run() final
    {
        Body();
        ended_.store(true, std::memory_order_release);
    }

    std::atomic<bool> ended_{false};
};

} // namespace rovi
