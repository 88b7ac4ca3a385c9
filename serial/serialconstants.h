#pragma once

// Constants the serial back ends share; nothing outside serial/ needs them.

#include <cstdint>

namespace rovi {

// The largest chunk one read delivers, and the driver queue size.
inline constexpr std::uint32_t kReadBufferSize = 4096;

// A time-out of all ones has a special meaning in the read time-outs (the
// Windows MAXDWORD).
inline constexpr std::uint32_t kTimeoutAllOnes = 0xFFFFFFFFu;

} // namespace rovi
