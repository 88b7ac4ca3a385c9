#pragma once

#include "backlog.h"

#include <QByteArray>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace rovi {

// One thing a worker tells the link's thread.
struct Notice {
    enum class Kind { Chunk, LineError, ModemChange, SendQueueEmpty, HungUp };
    Kind kind;
    std::uint32_t value = 0; // the line-error flags or the modem bits
    QByteArray chunk;
};

// The notices of one open port, from its two workers to the link's thread,
// in the order each worker gave them. The link drains the queue when woken
// (`wake` runs on a worker each time a notice finds the queue empty) and
// empties it unread when the port closes, so nothing of a closed open is
// ever delivered. A chunk counts in the backlog until the link has emitted
// it, or until it is dropped. The two workers share one hang-up latch: when
// the line goes away both notice it, but it is one hang-up and one notice.
class NoticeQueue {
public:
    NoticeQueue(std::size_t backlog_limit, std::function<void()> wake)
        : backlog_(backlog_limit), wake_(std::move(wake))
    {
    }

    void PostChunk(QByteArray chunk)
    {
        backlog_.Hold(static_cast<std::size_t>(chunk.size()));
        Push({Notice::Kind::Chunk, 0, std::move(chunk)});
    }
    void PostLineError(std::uint32_t flags) { Push({Notice::Kind::LineError, flags, {}}); }
    void PostModemChange(std::uint32_t bits) { Push({Notice::Kind::ModemChange, bits, {}}); }
    void PostSendQueueEmpty() { Push({Notice::Kind::SendQueueEmpty, 0, {}}); }
    void PostHangup()
    {
        if (!hung_up_.exchange(true))
            Push({Notice::Kind::HungUp, 0, {}});
    }

    // The oldest notice, taken off the queue (the link's thread).
    std::optional<Notice> Take()
    {
        std::lock_guard lock(mutex_);
        if (notices_.empty())
            return std::nullopt;
        Notice n = std::move(notices_.front());
        notices_.pop_front();
        return n;
    }
    // A chunk taken off the queue has been handled (or dropped).
    void Handled(const Notice &n)
    {
        if (n.kind == Notice::Kind::Chunk)
            backlog_.Release(static_cast<std::size_t>(n.chunk.size()));
    }
    // Drops every notice not yet taken.
    void Clear()
    {
        std::deque<Notice> dropped;
        {
            std::lock_guard lock(mutex_);
            dropped.swap(notices_);
        }
        for (const Notice &n : dropped)
            Handled(n);
    }

    ReceiveBacklog &Backlog() { return backlog_; }
    // Notices wait behind the ones taken.
    bool Waiting()
    {
        std::lock_guard lock(mutex_);
        return !notices_.empty();
    }
    // The line has gone away: the hang-up notice is queued or was taken.
    bool HungUp() const { return hung_up_; }

private:
    void Push(Notice n)
    {
        bool was_empty;
        {
            std::lock_guard lock(mutex_);
            was_empty = notices_.empty();
            notices_.push_back(std::move(n));
        }
        if (was_empty)
            wake_();
    }

    ReceiveBacklog backlog_;
    std::function<void()> wake_;
    std::mutex mutex_;
    std::deque<Notice> notices_;
    std::atomic<bool> hung_up_{false};
};

// What a worker holds of the queue: the same queue for both workers.
using NoticeTarget = std::shared_ptr<NoticeQueue>;

} // namespace rovi
