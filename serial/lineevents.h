#pragma once

#include <cstdint>

namespace rovi {

// The line events the Windows reader waits for (SetCommMask), with the
// system's values: EV_RLSD, EV_ERR and EV_RING.
inline constexpr std::uint32_t kLineEventCarrier = 0x0020;
inline constexpr std::uint32_t kLineEventError = 0x0080;
inline constexpr std::uint32_t kLineEventRing = 0x0100;
inline constexpr std::uint32_t kLineEventMask = kLineEventCarrier | kLineEventError | kLineEventRing; // 0x01A0

// What one completed line-event wait gives, from the mask it filled in:
// read and post the error word (ClearCommError) first, then the modem bits
// (8 carrier detect, 4 ring) when not 0. A mask with none of the three
// events (an empty one, for instance) ends the reader with a hang-up.
struct LineEventNotices {
    bool post_errors = false;
    std::uint32_t modem_bits = 0;
    bool ends_reader = false;
    bool operator==(const LineEventNotices &) const = default;
};

LineEventNotices NoticesOfLineEvent(std::uint32_t mask);

} // namespace rovi
