#include "waitevent.h"

#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace rovi {

WaitEvent::WaitEvent() : handle_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WaitEvent::~WaitEvent()
{
    if (handle_ >= 0)
        ::close(handle_);
}

void WaitEvent::Signal()
{
    const std::uint64_t one = 1;
    (void)!::write(handle_, &one, sizeof one);
}

void WaitEvent::Clear()
{
    std::uint64_t count = 0;
    (void)!::read(handle_, &count, sizeof count);
}

bool WaitEvent::IsSignalled() const
{
    pollfd p{handle_, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

} // namespace rovi
