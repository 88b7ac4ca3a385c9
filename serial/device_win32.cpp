#include "device.h"

#include "base/widepath.h"
#include "base/texts.h"

#include <cctype>
#include <map>
#include <mutex>

namespace rovi {

namespace {

// The port's hold: a named mutex per port, which exists while some program
// of ours has the port open. Windows' own drivers refuse a second open of a
// port anyway; Wine's serial layer does not, so there the hold is what keeps
// a second tool (or rovi-cli) off a port in use.
std::string HoldName(const std::string &path)
{
    std::string name = "Global\\rovi-serial-";
    for (char c : path)
        name += c == '\\' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

std::mutex holds_mutex;
std::map<HANDLE, HANDLE> holds; // device handle -> its hold

} // namespace

std::optional<std::string> ResolvePortName(const std::string &name)
{
    if (name.empty())
        return std::nullopt;
    if (const auto n = CommNumber(name))
        return "\\\\.\\COM" + std::to_string(*n);
    return name;
}

NativeHandle SerialDevice::OpenExclusive(const std::string &name)
{
    const auto path = ResolvePortName(name);
    if (!path)
        throw SerialError(Translated("SerialLink", kOpenFailureMessage), ERROR_FILE_NOT_FOUND);
    HANDLE h = CreateFileA(path->c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw SerialError(Translated("SerialLink", kOpenFailureMessage), static_cast<int>(GetLastError()));
    const HANDLE hold = CreateMutexW(nullptr, FALSE, WidePath(HoldName(*path)).c_str());
    if (!hold || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (hold)
            CloseHandle(hold);
        CloseHandle(h);
        throw SerialError(Translated("SerialLink", kOpenFailureMessage), ERROR_ACCESS_DENIED); // what Windows says for a port in use
    }
    if (!SetupComm(h, kReadBufferSize, kReadBufferSize)) {
        const DWORD error = GetLastError();
        CloseHandle(hold);
        CloseHandle(h);
        throw SerialError(Translated("SerialLink", "初始化缓冲区出错"), static_cast<int>(error));
    }
    std::lock_guard lock(holds_mutex);
    holds[h] = hold;
    return h;
}

void SerialDevice::CloseExclusive(NativeHandle handle)
{
    // The hold leaves the map before either handle is closed, so a handle
    // value the system reuses at once cannot find a stale entry.
    HANDLE hold = nullptr;
    {
        std::lock_guard lock(holds_mutex);
        if (const auto it = holds.find(handle); it != holds.end()) {
            hold = it->second;
            holds.erase(it);
        }
    }
    CloseHandle(handle);
    if (hold)
        CloseHandle(hold);
}

SerialDevice::SerialDevice(NativeHandle handle, const LineTimeouts &timeouts) : handle_(handle), timeouts_(timeouts) {}

SerialDevice::~SerialDevice()
{
    CloseExclusive(handle_);
}

// The five time-outs go to the driver in property order (COMMTIMEOUTS has
// the same members in the same order); the driver decides when a read
// completes. The result is ignored: a device that refuses keeps its own.
void SerialDevice::SetTimeouts(const LineTimeouts &timeouts)
{
    std::lock_guard lock(mutex_);
    timeouts_ = timeouts;
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = timeouts.readInterval;
    t.ReadTotalTimeoutMultiplier = timeouts.readTotalMultiplier;
    t.ReadTotalTimeoutConstant = timeouts.readTotalConstant;
    t.WriteTotalTimeoutMultiplier = timeouts.writeTotalMultiplier;
    t.WriteTotalTimeoutConstant = timeouts.writeTotalConstant;
    (void)SetCommTimeouts(handle_, &t);
}

void SerialDevice::PurgeInput()
{
    (void)PurgeComm(handle_, PURGE_RXABORT | PURGE_RXCLEAR);
}

void SerialDevice::PurgeOutput()
{
    (void)PurgeComm(handle_, PURGE_TXABORT | PURGE_TXCLEAR);
}

} // namespace rovi
