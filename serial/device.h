#pragma once

#include "base/texts.h"
#include "linetypes.h"
#include "serialconstants.h"
#include "nativehandle.h"
#include "waitevent.h"

#include <mutex>
#include <optional>
#include <string>

namespace rovi {

// The device path a port name stands for.
// Linux: a name that exists as a path is used as it stands; otherwise
// "COMn" (any letter case, n >= 1) means /dev/ttyS(n-1); anything else
// names no device.
// Windows: "COMn" (any letter case, n >= 1) means \\.\COMn, the form that
// reaches every port number (CreateFile finds COM10 and above only so);
// any other name is passed unchanged.
std::optional<std::string> ResolvePortName(const std::string &name);

// The n of a "COMn" name (any letter case, n >= 1 without leading zeros),
// or nothing.
std::optional<unsigned long> CommNumber(const std::string &name);

// The event that tells both workers to end. Nobody clears it, so once
// signalled it stays set for both (manual reset).
class CloseEvent : public WaitEvent {};

// The open device and what the link and its workers share about it.
class SerialDevice {
public:
    // Opens the device exclusively (Linux: O_NONBLOCK, flock, TIOCEXCL;
    // Windows: CreateFile with no sharing, overlapped, then SetupComm with
    // 4096-byte queues). Throws SerialError with the open-failure message
    // (or "初始化缓冲区出错" when the queues cannot be set up).
    static NativeHandle OpenExclusive(const std::string &name);
    static void CloseExclusive(NativeHandle handle);

    SerialDevice(NativeHandle handle, const LineTimeouts &timeouts);
    ~SerialDevice();
    SerialDevice(const SerialDevice &) = delete;
    SerialDevice &operator=(const SerialDevice &) = delete;

    NativeHandle Handle() const { return handle_; }
    // Keeps the time-outs for the reader (Linux, where the reader times its
    // reads itself) or hands them to the driver (Windows, SetCommTimeouts).
    void SetTimeouts(const LineTimeouts &timeouts);
    LineTimeouts Timeouts() const;

    // Abort the pending read or write and empty that driver queue.
    void PurgeInput();
    void PurgeOutput();

private:
    const NativeHandle handle_;
    mutable std::mutex mutex_;
    LineTimeouts timeouts_;
};

// The two-line message of a device that cannot be opened.
inline constexpr const char *kOpenFailureMessage = MarkedText("SerialLink", "打开串口出错\r\n此串口不存在或被占用");

} // namespace rovi
