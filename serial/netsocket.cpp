#include "netsocket.h"

#include "device.h"
#include "netsys.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#endif

namespace rovi {

namespace {

// The addresses of host and service for a TCP connection: 0 and the list, or not 0.
int ResolveTcp(const char *host, const char *service, addrinfo **result)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    return getaddrinfo(host, service, &hints, result);
}

[[noreturn]] void Fail(NetFailure failure)
{
    throw SerialError(Translated("SerialLink", kOpenFailureMessage), static_cast<int>(failure));
}

// The look-up runs on a thread of its own, so a resolver that hangs costs
// the caller no more than its bound; the thread finishes on its own later.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done_cv;
    bool done = false;
    int status = 0;
    addrinfo *result = nullptr;
    ~Lookup()
    {
        if (result)
            freeaddrinfo(result);
    }
};

std::shared_ptr<Lookup> Resolve(const NetPort &port, std::chrono::steady_clock::time_point deadline)
{
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host = port.host, service = port.service] {
        addrinfo *result = nullptr;
        const int status = ResolveTcp(host.c_str(), service.c_str(), &result);
        std::lock_guard lock(lookup->mutex);
        lookup->status = status;
        lookup->result = result;
        lookup->done = true;
        lookup->done_cv.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    if (!lookup->done_cv.wait_until(lock, deadline, [&] { return lookup->done; }))
        Fail(NetFailure::TimedOut);
    if (lookup->status != 0 || !lookup->result)
        Fail(NetFailure::UnknownHost);
    return lookup;
}

} // namespace

NetSocket NetSocket::Connect(const NetPort &port, int timeout_ms)
{
    netsys::Start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    const auto lookup = Resolve(port, deadline);
    NetFailure failure = NetFailure::Other;
    for (const addrinfo *a = lookup->result; a; a = a->ai_next) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            failure = NetFailure::TimedOut;
            break;
        }
        const Handle handle = netsys::ConnectWithin(*a, static_cast<int>(left.count()), failure);
        if (handle != kNone)
            return NetSocket(handle);
    }
    Fail(failure);
}

NetSocket::~NetSocket()
{
    if (handle_ != kNone)
        netsys::Close(handle_);
}

std::ptrdiff_t NetSocket::Read(char *buffer, std::size_t size)
{
    return netsys::Receive(handle_, buffer, size);
}

std::ptrdiff_t NetSocket::Write(const char *bytes, std::size_t size)
{
    return netsys::Send(handle_, bytes, size);
}

} // namespace rovi
