#pragma once

#include "backlog.h"
#include "seriallink.h"

#include <QByteArray>
#include <QMetaObject>

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>

namespace rovi {

// Where the workers of one open port send their notices: each is queued to
// the link's thread and emitted there as its signal, unless the port has
// been closed (or reopened) in between. Posting is thread-safe and keeps the
// order of each posting thread. The copies given to the two workers share
// one hang-up latch: when the line goes away both workers notice it, but it
// is one hang-up and gives one notice.
class NoticeTarget {
public:
    NoticeTarget(SerialLink *link, std::uint64_t open, std::size_t backlog_limit)
        : link_(link), open_(open), hung_up_(std::make_shared<std::atomic<bool>>(false)),
          backlog_(std::make_shared<ReceiveBacklog>(backlog_limit))
    {
    }

    // A received chunk: counted in the backlog until its slots have run, or
    // until it is dropped (a closed port, a link destroyed).
    void PostChunk(QByteArray chunk) const
    {
        auto held = std::make_shared<const HeldChunk>(std::move(chunk), backlog_);
        Post([held](SerialLink *link) { emit link->chunkReceived(held->bytes); });
    }
    void PostLineError(std::uint32_t flags) const
    {
        Post([flags](SerialLink *link) { emit link->lineError(flags); });
    }
    void PostModemChange(std::uint32_t bits) const
    {
        Post([bits](SerialLink *link) { emit link->modemChanged(bits); });
    }
    void PostSendQueueEmpty() const
    {
        Post([](SerialLink *link) { emit link->sendQueueEmpty(); });
    }
    void PostHangup() const
    {
        if (!hung_up_->exchange(true))
            Post([](SerialLink *link) { emit link->hungUp(); });
    }

    const std::shared_ptr<ReceiveBacklog> &Backlog() const { return backlog_; }

private:
    struct HeldChunk {
        HeldChunk(QByteArray b, std::shared_ptr<ReceiveBacklog> backlog) : bytes(std::move(b)), backlog_(std::move(backlog))
        {
            backlog_->Hold(static_cast<std::size_t>(bytes.size()));
        }
        ~HeldChunk() { backlog_->Release(static_cast<std::size_t>(bytes.size())); }
        HeldChunk(const HeldChunk &) = delete;
        HeldChunk &operator=(const HeldChunk &) = delete;
        const QByteArray bytes;
        const std::shared_ptr<ReceiveBacklog> backlog_;
    };

    // Queued to the link's thread; Qt drops it unrun if the link is destroyed first.
    template <class Emit> void Post(Emit emit_notice) const
    {
        Handoff().fetch_add(1, std::memory_order_release);
        QMetaObject::invokeMethod(
            link_,
            [link = link_, open = open_, emit_notice] {
                // Qt's event queue already orders the two threads; this makes
                // the hand-over visible to the C++ memory model (and to race
                // detectors) as well.
                (void)Handoff().load(std::memory_order_acquire);
                if (link->IsCurrentOpen(open))
                    emit_notice(link);
            },
            Qt::QueuedConnection);
    }

    static std::atomic<unsigned> &Handoff()
    {
        static std::atomic<unsigned> counter{0};
        return counter;
    }

    SerialLink *link_;
    std::uint64_t open_;
    std::shared_ptr<std::atomic<bool>> hung_up_;
    std::shared_ptr<ReceiveBacklog> backlog_;
};

} // namespace rovi
