#include "writequeue.h"

namespace rovi {

bool WriteQueue::Push(ByteString request)
{
    {
        std::lock_guard lock(mutex_);
        if (closed_)
            return false;
        requests_.push_back(std::move(request));
    }
    wake_.Signal();
    return true;
}

std::optional<ByteString> WriteQueue::TryPop()
{
    wake_.Clear();
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
