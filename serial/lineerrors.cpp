#include "lineerrors.h"

#include "linetypes.h"

namespace rovi {

std::uint32_t LineErrorFlags(const LineErrorCounts &before, const LineErrorCounts &after)
{
    std::uint32_t flags = 0;
    if (after.frame != before.frame)
        flags |= LineError::Framing;
    if (after.parity != before.parity)
        flags |= LineError::Parity;
    if (after.overrun != before.overrun)
        flags |= LineError::Overrun;
    if (after.brk != before.brk)
        flags |= LineError::Break;
    if (after.buf_overrun != before.buf_overrun)
        flags |= LineError::InputOverflow;
    return flags;
}

} // namespace rovi
