#pragma once

#include <string>

namespace rovi {

// A binary-safe string of raw byte values 0..255: what HexToBytes produces and
// what the serial link is given. NUL bytes and bytes 0x80..0xFF pass through.
using ByteString = std::string;

} // namespace rovi
