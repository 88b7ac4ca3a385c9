#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rovi {

// Integer syntax shared by every parse in the program: leading spaces (the
// space character only), at most one sign, then decimal digits in the 32-bit
// signed range, or a hexadecimal number after "$", "x", "X", "0x" or "0X" with
// 1 to 8 significant digits taken as a 32-bit pattern. Nothing may follow.
std::optional<std::int32_t> ParseInt(std::string_view text);

// Strict parse: throws ConversionError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

// Lenient parse: returns fallback when the text does not parse.
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

// Upper-case hexadecimal, zero-padded to two digits; larger values in full
// (a negative value is written as its 32-bit pattern).
std::string IntToHex2(std::int32_t value);

// Removes every leading and trailing character of code 0x20 or below.
std::string_view Trim(std::string_view text);

} // namespace rovi
