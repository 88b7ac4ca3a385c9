#pragma once

// Text saved as UTF-16 (what Windows Notepad calls "Unicode"), read as
// UTF-8. Plain C++.

#include <optional>
#include <string>
#include <string_view>

namespace rovi {

enum class ByteOrder { LittleEndian, BigEndian };

// The UTF-8 of UTF-16 code units in `bytes` (no byte order mark); nothing
// when they are not UTF-16: an odd number of bytes or a surrogate without
// its pair.
std::optional<std::string> Utf8FromUtf16(std::string_view bytes, ByteOrder order);

} // namespace rovi
