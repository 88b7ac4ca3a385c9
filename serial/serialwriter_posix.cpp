#include "serialwriter.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace rovi {

// Sleeps until a request or the close event; false on the close event.
bool SerialWriter::WaitForInput()
{
    for (;;) {
        pollfd fds[2] = {{close_event_->Handle(), POLLIN, 0}, {queue_.WakeHandle(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || fds[0].revents != 0)
            return false;
        return true;
    }
}

// Writes all of one request. On the line the write time-outs only cut a
// write call short, and a write cut short is continued with the bytes still
// missing; so the request is written until all of it is out or the close
// event abandons it, whatever the time-outs say.
bool SerialWriter::WriteRequest(const ByteString &request)
{
    std::size_t offset = 0;
    while (offset < request.size()) {
        const ssize_t n = ::write(device_->Handle(), request.data() + offset, request.size() - offset);
        if (n > 0) {
            offset += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EBADF)
            return false;
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            notify_->PostHangup();
            return false;
        }
        pollfd fds[2] = {{close_event_->Handle(), POLLIN, 0}, {device_->Handle(), POLLOUT, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno != EINTR) {
            notify_->PostHangup();
            return false;
        }
        if (ready > 0 && (fds[0].revents != 0 || (fds[1].revents & POLLNVAL)))
            return false;
    }
    return true;
}

} // namespace rovi
