#pragma once

// A TCP connection to a device server, through the system's sockets
// (POSIX, or Winsock): non-blocking once connected, for a notifier on the
// link's own thread.

#include "netport.h"

#include <cstddef>
#include <cstdint>

namespace rovi {

// Why a device server could not be reached: the error number of the open
// failure a network port throws (SerialError::Errno).
enum class NetFailure : int { BadAddress = 1, UnknownHost, Refused, TimedOut, Unreachable, Other };

class NetSocket {
public:
    using Handle = std::intptr_t;
    static constexpr Handle kNone = -1;

    // Resolves and connects within `timeout_ms` (the name's look-up
    // included), or throws SerialError with a NetFailure.
    static NetSocket Connect(const NetPort &port, int timeout_ms);

    NetSocket(NetSocket &&other) noexcept : handle_(other.handle_) { other.handle_ = kNone; }
    NetSocket &operator=(NetSocket &&) = delete;
    NetSocket(const NetSocket &) = delete;
    ~NetSocket();

    Handle Native() const { return handle_; }

    // What a read or write did: a count of bytes, nothing for now (it would
    // block), or the end (the server closed, or the connection broke).
    static constexpr std::ptrdiff_t kWouldBlock = -1;
    static constexpr std::ptrdiff_t kEnded = -2;
    std::ptrdiff_t Read(char *buffer, std::size_t size);
    std::ptrdiff_t Write(const char *bytes, std::size_t size);

private:
    explicit NetSocket(Handle handle) : handle_(handle) {}
    Handle handle_;
};

} // namespace rovi
