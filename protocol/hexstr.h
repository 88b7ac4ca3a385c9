#pragma once

#include "base/bytes.h"

#include <string>
#include <string_view>

namespace rovi {

// Hexadecimal text to bytes. Pairs are taken greedily from the first hex digit
// found; any other character separates; a lone digit is a byte of its own.
ByteString HexToBytes(std::string_view text);

// Each byte as two upper-case hex digits, joined by single spaces.
std::string HexLine(std::string_view bytes);

// The one-character text of a byte that is an ASCII hex digit, else empty.
std::string HexDigitChar(unsigned char byte);

// The hex-digit characters among the bytes, in order, case preserved.
std::string TextLine(std::string_view bytes);

} // namespace rovi
