#include "writethread.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace rovi {

namespace {

using Clock = std::chrono::steady_clock;

} // namespace

// Sleeps until a request or the close event; false on the close event.
bool TWriteThread::WaitForInput()
{
    for (;;) {
        pollfd fds[2] = {{close_event_->Fd(), POLLIN, 0}, {queue_.WakeFd(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || fds[0].revents != 0)
            return false;
        return true;
    }
}

// Writes all of one request. The write time-outs bound each write call; a
// call cut short by them is continued with the bytes still missing, until all
// are written or the close event abandons the request.
bool TWriteThread::WriteRequest(const ByteString &request)
{
    const CommTimeouts t = device_->Timeouts();
    std::size_t offset = 0;
    while (offset < request.size()) {
        const std::uint64_t limit_ms =
            std::uint64_t{t.WriteTotalTimeoutMultiplier} * (request.size() - offset) +
            t.WriteTotalTimeoutConstant;
        const auto deadline = Clock::now() + std::chrono::milliseconds(limit_ms);
        for (;;) {
            const ssize_t n = ::write(device_->Fd(), request.data() + offset, request.size() - offset);
            if (n > 0) {
                offset += static_cast<std::size_t>(n);
                if (offset == request.size())
                    return true;
                continue;
            }
            if (n < 0 && errno == EBADF)
                return false;
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                notify_.Post(COMM_MSG_HANGUP);
                return false;
            }
            int timeout = -1;
            if (limit_ms > 0) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
                if (left <= 0)
                    break; // this write call timed out: start a new one with the rest
                timeout = static_cast<int>(std::min<long long>(left, 1 << 30));
            }
            pollfd fds[2] = {{close_event_->Fd(), POLLIN, 0}, {device_->Fd(), POLLOUT, 0}};
            const int ready = ::poll(fds, 2, timeout);
            if (ready < 0 && errno != EINTR) {
                notify_.Post(COMM_MSG_HANGUP);
                return false;
            }
            if (ready > 0 && fds[0].revents != 0)
                return false;
            if (ready > 0 && (fds[1].revents & POLLNVAL))
                return false;
        }
    }
    return true;
}

TWriteThread::~TWriteThread()
{
    Join();
}

void TWriteThread::Body()
{
    bool empty_notice = true;
    for (;;) {
        std::optional<ByteString> request = queue_.TryPop();
        if (!request) {
            if (empty_notice)
                notify_.Post(COMM_MSG_TX_EMPTY);
            empty_notice = false;
            if (!WaitForInput())
                break;
            continue;
        }
        if (close_event_->IsSignalled())
            break;
        if (!WriteRequest(*request))
            break;
        empty_notice = true;
    }
    queue_.Close();
    device_->PurgeOutput();
}

} // namespace rovi
