#include "lineerrors.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace rovi {

std::optional<LineErrorCounts> ReadLineErrorCounts(int fd)
{
    serial_icounter_struct c{};
    if (ioctl(fd, TIOCGICOUNT, &c) != 0)
        return std::nullopt;
    return LineErrorCounts{c.frame, c.parity, c.overrun, c.brk, c.buf_overrun};
}

} // namespace rovi
