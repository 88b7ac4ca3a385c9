#include "lineevents.h"

#include "linetypes.h"

namespace rovi {

LineEventNotices NoticesOfLineEvent(std::uint32_t mask)
{
    LineEventNotices n;
    n.post_errors = (mask & kLineEventError) != 0;
    if (mask & kLineEventCarrier)
        n.modem_bits |= ModemChange::CarrierDetect;
    if (mask & kLineEventRing)
        n.modem_bits |= ModemChange::Ring;
    n.ends_reader = (mask & kLineEventMask) == 0;
    return n;
}

} // namespace rovi
