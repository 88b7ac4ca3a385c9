#include "readthread.h"

#include <cstring>

namespace rovi {

void TReadThread::HandOver(std::size_t count)
{
    if (count == 0)
        return; // an empty read posts nothing; the next read starts at once
    auto block = std::make_unique<char[]>(count + 1);
    std::memcpy(block.get(), buffer_.data(), count);
    block[count] = 0;
    notify_.PostData(std::move(block), static_cast<std::uint32_t>(count));
    // A window that cannot keep up holds the reader here, and the rest of
    // the stream waits in the driver.
    notify_.Backlog()->WaitBelowLimit([this] { return close_event_->IsSignalled(); });
}

} // namespace rovi
