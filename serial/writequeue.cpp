#include "writequeue.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace rovi {

WriteQueue::WriteQueue() : wake_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WriteQueue::~WriteQueue()
{
    if (wake_fd_ >= 0)
        ::close(wake_fd_);
}

bool WriteQueue::Push(ByteString request)
{
    {
        std::lock_guard lock(mutex_);
        if (closed_)
            return false;
        requests_.push_back(std::move(request));
    }
    const std::uint64_t one = 1;
    (void)!::write(wake_fd_, &one, sizeof one);
    return true;
}

std::optional<ByteString> WriteQueue::TryPop()
{
    std::uint64_t count = 0;
    (void)!::read(wake_fd_, &count, sizeof count);
    std::lock_guard lock(mutex_);
    if (requests_.empty())
        return std::nullopt;
    ByteString front = std::move(requests_.front());
    requests_.pop_front();
    return front;
}

void WriteQueue::Close()
{
    std::lock_guard lock(mutex_);
    closed_ = true;
    requests_.clear();
}

} // namespace rovi
