#pragma once

// The reader's settings as people and scripts write them, on a command line
// or in a profile (id=17 wiegand=34 format=hex baud=9600 power=software:12
// reread=3s,leave send=0.5s), and a decoded report in the same words. Plain
// C++; the codes and ranges are the protocol's.

#include "protocol/frame.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace rovi {

// One field to set and the byte it is sent as.
struct FieldValue {
    Field field;
    std::uint8_t byte;
    bool operator==(const FieldValue &) const = default;
};

// A refused assignment: the message names the field and what it allows.
struct FieldError {
    std::string message;
};

// Parses FIELD=VALUE words; each field at most once. Fields: ctrl, id,
// wiegand, format, baud, power, reread, send.
std::variant<std::vector<FieldValue>, FieldError> ParseAssignments(const std::vector<std::string> &words);

// The frame that sets them: one field alone goes as a single-field set,
// several as one set-all frame with 0 (unchanged) for the others.
Frame SetFrameFor(const std::vector<FieldValue> &values);

// The bytes of the set-all frame that sets `values` (0 for the others), and
// back: the fields such bytes set (the non-zero ones, in field order).
FieldBytes BytesOf(const std::vector<FieldValue> &values);
std::vector<FieldValue> FieldsSetBy(const FieldBytes &bytes);

// The fields in these words, one after another ("id=17 wiegand=34"; "?"
// for a byte no word stands for).
std::string Words(const std::vector<FieldValue> &values);

// The command-line name of a field ("id", "send") and the text of a field
// byte in the words ParseAssignments takes ("34", "software:12",
// "3s,leave"), or nothing when the byte is not recognised.
const char *FieldName(Field field);
std::optional<std::string> ValueText(Field field, std::uint8_t byte);

// A readable description of a field byte ("Wiegand output, Wiegand 34"),
// or "not recognised (0x46)".
std::string Describe(Field field, std::uint8_t byte);

} // namespace rovi
