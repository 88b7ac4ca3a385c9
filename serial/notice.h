#pragma once

#include "backlog.h"
#include "commtypes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <atomic>
#include <cstdint>
#include <memory>

namespace rovi {

// One notice from a worker to the window thread. A data notice carries its
// chunk block (length + 1 bytes, the last one 0), released with the notice.
class CommNotice : public QEvent {
public:
    static QEvent::Type TypeOf(int message) { return static_cast<QEvent::Type>(QEvent::User + message); }

    CommNotice(int message, std::uint32_t param, std::unique_ptr<char[]> block = nullptr,
               std::shared_ptr<ReceiveBacklog> backlog = nullptr)
        : QEvent(TypeOf(message)), message_(message), param_(param), block_(std::move(block)),
          backlog_(std::move(backlog))
    {
        if (backlog_)
            backlog_->Hold(param_);
        Handoff().fetch_add(1, std::memory_order_release);
    }
    // Qt deletes a notice once it is handled, or with its queue: either way
    // its chunk no longer counts as held.
    ~CommNotice() override
    {
        if (backlog_)
            backlog_->Release(param_);
    }
    CommNotice(const CommNotice &) = delete;
    CommNotice &operator=(const CommNotice &) = delete;

    // Called by the receiving thread before it reads the notice. Qt's event
    // queue already orders the two threads; this makes the hand-over of the
    // block visible to the C++ memory model (and to race detectors) as well.
    static void Accept() { (void)Handoff().load(std::memory_order_acquire); }

    int Message() const { return message_; }
    std::uint32_t Param() const { return param_; }
    const char *Block() const { return block_.get(); }

private:
    static std::atomic<unsigned> &Handoff()
    {
        static std::atomic<unsigned> counter{0};
        return counter;
    }

    int message_;
    std::uint32_t param_;
    std::unique_ptr<char[]> block_;
    std::shared_ptr<ReceiveBacklog> backlog_;
};

// Where the workers post their notices. Posting is thread-safe and keeps the
// order of each posting thread. The copies given to the two workers of one
// open port share one hang-up latch: when the line goes away both workers
// notice it, but it is one hang-up and gives one notice.
class NoticeTarget {
public:
    NoticeTarget(QObject *window, std::size_t backlog_limit)
        : window_(window), hung_up_(std::make_shared<std::atomic<bool>>(false)),
          backlog_(std::make_shared<ReceiveBacklog>(backlog_limit))
    {
    }
    void Post(int message, std::uint32_t param = 0, std::unique_ptr<char[]> block = nullptr) const
    {
        QCoreApplication::postEvent(window_, new CommNotice(message, param, std::move(block)));
    }
    // A received chunk: counted in the backlog until it is handled.
    void PostData(std::unique_ptr<char[]> block, std::uint32_t count) const
    {
        QCoreApplication::postEvent(window_, new CommNotice(COMM_MSG_DATA, count, std::move(block), backlog_));
    }
    const std::shared_ptr<ReceiveBacklog> &Backlog() const { return backlog_; }
    void PostHangup() const
    {
        if (!hung_up_->exchange(true))
            Post(COMM_MSG_HANGUP);
    }

private:
    QObject *window_;
    std::shared_ptr<std::atomic<bool>> hung_up_;
    std::shared_ptr<ReceiveBacklog> backlog_;
};

} // namespace rovi
