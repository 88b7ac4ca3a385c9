#include "netsys.h"

#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace rovi::netsys {

namespace {

NetFailure FailureOf(int error)
{
    switch (error) {
    case ECONNREFUSED: return NetFailure::Refused;
    case ETIMEDOUT: return NetFailure::TimedOut;
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EHOSTDOWN:
    case ENETDOWN: return NetFailure::Unreachable;
    default: return NetFailure::Other;
    }
}

} // namespace

void Start() {}

NetSocket::Handle ConnectWithin(const addrinfo &address, int timeout_ms, NetFailure &failure)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0) {
        failure = FailureOf(errno);
        return NetSocket::kNone;
    }
    int error = 0;
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            socklen_t length = sizeof error;
            if (::poll(&p, 1, timeout_ms) <= 0)
                error = ETIMEDOUT;
            else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                error = errno;
        }
    }
    if (error != 0) {
        ::close(fd);
        failure = FailureOf(error);
        return NetSocket::kNone;
    }
    const int on = 1;
    (void)setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on); // a frame leaves at once
    return fd;
}

void Close(NetSocket::Handle handle)
{
    ::close(static_cast<int>(handle));
}

std::ptrdiff_t Receive(NetSocket::Handle handle, char *buffer, std::size_t size)
{
    const ssize_t n = ::recv(static_cast<int>(handle), buffer, size, 0);
    if (n > 0)
        return n;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return NetSocket::kWouldBlock;
    return NetSocket::kEnded;
}

std::ptrdiff_t Send(NetSocket::Handle handle, const char *bytes, std::size_t size)
{
    const ssize_t n = ::send(static_cast<int>(handle), bytes, size, MSG_NOSIGNAL);
    if (n >= 0)
        return n;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return NetSocket::kWouldBlock;
    return NetSocket::kEnded;
}

} // namespace rovi::netsys
