#include "device.h"
#include "base/texts.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace rovi {

std::optional<std::string> ResolvePortName(const std::string &name)
{
    if (name.empty())
        return std::nullopt;
    struct stat st {};
    if (stat(name.c_str(), &st) == 0)
        return name;
    if (const auto n = CommNumber(name))
        return "/dev/ttyS" + std::to_string(*n - 1);
    return std::nullopt;
}

NativeHandle SerialDevice::OpenExclusive(const std::string &name)
{
    const auto path = ResolvePortName(name);
    if (!path)
        throw SerialError(Translated("SerialLink", kOpenFailureMessage), ENOENT);
    const int fd = ::open(path->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw SerialError(Translated("SerialLink", kOpenFailureMessage), errno);
    termios t{};
    int error = 0;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        error = errno == EWOULDBLOCK ? EBUSY : errno;
    else if (tcgetattr(fd, &t) != 0)
        error = errno; // ENOTTY: not a serial device
    if (error != 0) {
        ::close(fd);
        throw SerialError(Translated("SerialLink", kOpenFailureMessage), error);
    }
    (void)ioctl(fd, TIOCEXCL);
    return fd;
}

void SerialDevice::CloseExclusive(NativeHandle fd)
{
    (void)ioctl(fd, TIOCNXCL);
    ::close(fd);
}

SerialDevice::SerialDevice(NativeHandle fd, const LineTimeouts &timeouts) : handle_(fd), timeouts_(timeouts) {}

SerialDevice::~SerialDevice()
{
    CloseExclusive(handle_);
}

void SerialDevice::SetTimeouts(const LineTimeouts &timeouts)
{
    std::lock_guard lock(mutex_);
    timeouts_ = timeouts;
}

void SerialDevice::PurgeInput()
{
    (void)tcflush(handle_, TCIFLUSH);
}

void SerialDevice::PurgeOutput()
{
    (void)tcflush(handle_, TCOFLUSH);
}

} // namespace rovi
