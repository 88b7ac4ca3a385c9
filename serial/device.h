#pragma once

#include "commtypes.h"
#include "eventfd.h"

#include <mutex>
#include <optional>
#include <string>

namespace rovi {

// The device path a port name stands for: a name that exists as a path is
// used as it stands; otherwise "COMn" (any letter case, n >= 1) means
// /dev/ttyS(n-1); anything else names no device.
std::optional<std::string> ResolveCommName(const std::string &name);

// The event that tells both workers to end. Nobody clears it, so once
// signalled it stays readable for both (manual reset).
class CloseEvent : public EventFd {};

// The open tty and what the component and its workers share about it: the
// Linux stand-in for the driver's state. The reader reads the time-outs at
// the start of each read.
class CommDevice {
public:
    // Opens the tty exclusively (O_NONBLOCK, flock, TIOCEXCL). Throws
    // ECommsError with the open-failure message.
    static int OpenExclusive(const std::string &name);
    static void CloseExclusive(int fd);

    CommDevice(int fd, const CommTimeouts &timeouts);
    ~CommDevice();
    CommDevice(const CommDevice &) = delete;
    CommDevice &operator=(const CommDevice &) = delete;

    int Fd() const { return fd_; }
    void SetTimeouts(const CommTimeouts &timeouts);
    CommTimeouts Timeouts() const;

    void PurgeInput();
    void PurgeOutput();

private:
    const int fd_;
    mutable std::mutex mutex_;
    CommTimeouts timeouts_;
};

// The two-line message of a device that cannot be opened.
inline constexpr const char *kOpenFailureMessage = "打开串口出错\r\n此串口不存在或被占用";

} // namespace rovi
