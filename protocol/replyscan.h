#pragma once

// Where a reader's reply is in the bytes that came after a command: a
// 12-byte frame (FE F1, eight bytes, checksum, FF) or a 4-byte
// acknowledgement (FE F1, result, FF), wherever it starts, across chunks,
// with card numbers and other traffic around it passed over. A copy of the
// command itself (a loopback plug, an echoing adapter) is no reply.
// Plain C++, for the command line, which promises a verified result; the
// window keeps the simpler rule of telling replies apart by chunk length.

#include "frame.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace rovi {

struct FoundReply {
    enum class Form { Report, Ack };
    Form form;
    std::size_t offset; // where it starts in the bytes searched
    std::string_view bytes;
};

// The first reply in `received`, skipping copies of `sent`; nothing while
// none is whole yet.
std::optional<FoundReply> FindReply(std::string_view received, std::string_view sent);

} // namespace rovi
