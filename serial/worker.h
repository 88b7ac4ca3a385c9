#pragma once

#include "device.h"
#include "notice.h"

#include <QThread>

#include <atomic>
#include <memory>

namespace rovi {

// A serial worker thread. Its end is published through an atomic flag, so
// that whoever joins it sees everything the body did (QThread::wait
// synchronises through Qt's own futexes, which race detectors cannot see).
class SerialWorker : public QThread {
public:
    // Each worker's own copies of the device, the close event and the
    // notice target, given before it starts and never changed.
    SerialWorker(std::shared_ptr<SerialDevice> device, std::shared_ptr<CloseEvent> close_event, NoticeTarget notify)
        : device_(std::move(device)), close_event_(std::move(close_event)), notify_(notify)
    {
    }

    // Waits until the body has returned; returns at once for a thread never started.
    void Join()
    {
        wait();
        (void)ended_.load(std::memory_order_acquire);
    }

protected:
    virtual void Body() = 0;

    const std::shared_ptr<SerialDevice> device_;
    const std::shared_ptr<CloseEvent> close_event_;
    const NoticeTarget notify_;

private:
    void run() final
    {
        Body();
        ended_.store(true, std::memory_order_release);
    }

    std::atomic<bool> ended_{false};
};

} // namespace rovi
