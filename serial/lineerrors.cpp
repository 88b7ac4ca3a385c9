#include "lineerrors.h"

#include "commtypes.h"

namespace rovi {

std::uint32_t LineErrorFlags(const LineErrorCounts &before, const LineErrorCounts &after)
{
    std::uint32_t flags = 0;
    if (after.frame != before.frame)
        flags |= CE_FRAME;
    if (after.parity != before.parity)
        flags |= CE_RXPARITY;
    if (after.overrun != before.overrun)
        flags |= CE_OVERRUN;
    if (after.brk != before.brk)
        flags |= CE_BREAK;
    if (after.buf_overrun != before.buf_overrun)
        flags |= CE_RXOVER;
    return flags;
}

} // namespace rovi
