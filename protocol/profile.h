#pragma once

// A reader profile (参数文件, *.rovi): the settings for a batch of readers,
// readable and editable by hand. One FIELD=VALUE a line in the words of
// fieldwords.h (id=17, wiegand=34, baud=9600 ...), spaces around "=" allowed;
// blank lines and lines starting with # or ; are comments. A field left out
// is not changed (the set-all frame carries 0 for it). Text as editors save
// it: ASCII or UTF-8 (with or without its mark), or UTF-16 with its mark
// (Windows Notepad's "Unicode"). Plain C++.

#include "fieldwords.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rovi {

// Why a profile is refused: the line (counted from 1; 0 for the file as a
// whole) and the reason in the words of ParseAssignments.
struct ProfileError {
    int line = 0;
    std::string reason;
};

// A profile is a few hundred bytes; a larger file is not one.
inline constexpr std::size_t kMaxProfileBytes = 64 * 1024;

// The fields of a profile, in the order of its lines. Refused: a line that
// is not FIELD=VALUE, an unknown field, a value the field does not allow, a
// field given twice, no field at all, a file over kMaxProfileBytes, a file
// that is not text (a NUL byte, UTF-16 that does not decode).
std::variant<std::vector<FieldValue>, ProfileError> ParseProfile(std::string_view text);

// The profile of these field bytes (CRLF lines, a comment first), leaving
// out the fields whose byte is 0. Refused: a byte no words stand for (it
// could not be read back).
std::variant<std::string, FieldError> ProfileText(const FieldBytes &fields);

} // namespace rovi
