// The kernel's struct termios2 clashes with glibc's <termios.h>, so this file
// includes only the kernel's header.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cstdint>
#include <optional>

namespace rovi {

bool SetLineBaudRate(int fd, std::uint32_t rate)
{
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return false;
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = rate;
    tio.c_ospeed = rate;
    return ioctl(fd, TCSETS2, &tio) == 0;
}

std::optional<std::uint32_t> ReadLineBaudRate(int fd)
{
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return std::nullopt;
    return tio.c_ospeed;
}

} // namespace rovi
