#pragma once

// The system's socket calls NetSocket needs, one file per platform (POSIX
// sockets, Winsock).

#include "netsocket.h"

struct addrinfo;

namespace rovi::netsys {

// Once, before the first socket (Winsock's start-up; nothing on POSIX).
void Start();
// A non-blocking socket connected to `address` within `timeout_ms`, or
// kNone with why in `failure`.
NetSocket::Handle ConnectWithin(const addrinfo &address, int timeout_ms, NetFailure &failure);
void Close(NetSocket::Handle handle);
std::ptrdiff_t Receive(NetSocket::Handle handle, char *buffer, std::size_t size);
std::ptrdiff_t Send(NetSocket::Handle handle, const char *bytes, std::size_t size);

} // namespace rovi::netsys
