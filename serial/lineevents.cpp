#include "lineevents.h"

#include "commtypes.h"

namespace rovi {

LineEventNotices NoticesOfLineEvent(std::uint32_t mask)
{
    LineEventNotices n;
    n.post_errors = (mask & kLineEventError) != 0;
    if (mask & kLineEventCarrier)
        n.modem_bits |= MODEM_EVENT_RLSD;
    if (mask & kLineEventRing)
        n.modem_bits |= MODEM_EVENT_RING;
    n.ends_reader = (mask & kLineEventMask) == 0;
    return n;
}

} // namespace rovi
