#include "netsys.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <mutex>

namespace rovi::netsys {

namespace {

NetFailure FailureOf(int error)
{
    switch (error) {
    case WSAECONNREFUSED: return NetFailure::Refused;
    case WSAETIMEDOUT: return NetFailure::TimedOut;
    case WSAEHOSTUNREACH:
    case WSAENETUNREACH:
    case WSAEHOSTDOWN:
    case WSAENETDOWN: return NetFailure::Unreachable;
    default: return NetFailure::Other;
    }
}

} // namespace

void Start()
{
    static std::once_flag started;
    std::call_once(started, [] {
        WSADATA data{};
        (void)WSAStartup(MAKEWORD(2, 2), &data);
    });
}

NetSocket::Handle ConnectWithin(const addrinfo &address, int timeout_ms, NetFailure &failure)
{
    const SOCKET s = ::socket(address.ai_family, address.ai_socktype, address.ai_protocol);
    if (s == INVALID_SOCKET) {
        failure = FailureOf(WSAGetLastError());
        return NetSocket::kNone;
    }
    u_long non_blocking = 1;
    (void)ioctlsocket(s, FIONBIO, &non_blocking);
    int error = 0;
    if (::connect(s, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            fd_set writable, failed;
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(s, &writable);
            FD_SET(s, &failed);
            timeval wait{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
            const int ready = ::select(0, nullptr, &writable, &failed, &wait);
            int length = sizeof error;
            if (ready <= 0)
                error = WSAETIMEDOUT;
            else if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char *>(&error), &length) != 0)
                error = WSAGetLastError();
        }
    }
    if (error != 0) {
        closesocket(s);
        failure = FailureOf(error);
        return NetSocket::kNone;
    }
    const BOOL on = TRUE;
    (void)setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char *>(&on), sizeof on);
    return static_cast<NetSocket::Handle>(s);
}

void Close(NetSocket::Handle handle)
{
    closesocket(static_cast<SOCKET>(handle));
}

std::ptrdiff_t Receive(NetSocket::Handle handle, char *buffer, std::size_t size)
{
    const int n = ::recv(static_cast<SOCKET>(handle), buffer, static_cast<int>(size), 0);
    if (n > 0)
        return n;
    if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
        return NetSocket::kWouldBlock;
    return NetSocket::kEnded;
}

std::ptrdiff_t Send(NetSocket::Handle handle, const char *bytes, std::size_t size)
{
    const int n = ::send(static_cast<SOCKET>(handle), bytes, static_cast<int>(size), 0);
    if (n >= 0)
        return n;
    if (WSAGetLastError() == WSAEWOULDBLOCK)
        return NetSocket::kWouldBlock;
    return NetSocket::kEnded;
}

} // namespace rovi::netsys
