#include "device.h"

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace rovi {

std::optional<std::string> ResolveCommName(const std::string &name)
{
    if (name.empty())
        return std::nullopt;
    struct stat st {};
    if (stat(name.c_str(), &st) == 0)
        return name;
    if (name.size() < 4)
        return std::nullopt;
    for (std::size_t i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i])
            return std::nullopt;
    const std::string digits = name.substr(3);
    if (digits.size() > 9 || digits[0] == '0')
        return std::nullopt;
    for (char c : digits)
        if (c < '0' || c > '9')
            return std::nullopt;
    return "/dev/ttyS" + std::to_string(std::stoul(digits) - 1);
}

int CommDevice::OpenExclusive(const std::string &name)
{
    const auto path = ResolveCommName(name);
    if (!path)
        throw ECommsError(kOpenFailureMessage, ENOENT);
    const int fd = ::open(path->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw ECommsError(kOpenFailureMessage, errno);
    termios t{};
    int error = 0;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        error = errno == EWOULDBLOCK ? EBUSY : errno;
    else if (tcgetattr(fd, &t) != 0)
        error = errno; // ENOTTY: not a serial device
    if (error != 0) {
        ::close(fd);
        throw ECommsError(kOpenFailureMessage, error);
    }
    (void)ioctl(fd, TIOCEXCL);
    return fd;
}

void CommDevice::CloseExclusive(int fd)
{
    (void)ioctl(fd, TIOCNXCL);
    ::close(fd);
}

CommDevice::CommDevice(int fd, const CommTimeouts &timeouts) : fd_(fd), timeouts_(timeouts) {}

CommDevice::~CommDevice()
{
    CloseExclusive(fd_);
}

void CommDevice::SetTimeouts(const CommTimeouts &timeouts)
{
    std::lock_guard lock(mutex_);
    timeouts_ = timeouts;
}

CommTimeouts CommDevice::Timeouts() const
{
    std::lock_guard lock(mutex_);
    return timeouts_;
}

void CommDevice::PurgeInput()
{
    (void)tcflush(fd_, TCIFLUSH);
}

void CommDevice::PurgeOutput()
{
    (void)tcflush(fd_, TCOFLUSH);
}

} // namespace rovi
