#include "eventfd.h"

#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace rovi {

EventFd::EventFd() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

EventFd::~EventFd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void EventFd::Signal()
{
    const std::uint64_t one = 1;
    (void)!::write(fd_, &one, sizeof one);
}

void EventFd::Clear()
{
    std::uint64_t count = 0;
    (void)!::read(fd_, &count, sizeof count);
}

bool EventFd::IsSignalled() const
{
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

} // namespace rovi
