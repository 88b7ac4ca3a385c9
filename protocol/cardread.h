#pragma once

// Which received chunks are card reads, and what card each one is.
//
// A chunk is one read unless it is, or belongs to, a reply:
//   - a chunk the window takes as a reply by its length (a 12-byte report
//     that passes its check, any 4-byte chunk);
//   - a chunk that starts with FE F1 and is no longer than a frame: a copy
//     of a command (an echoing adapter), a report with a bad checksum, the
//     first part of a reply split over chunks;
//   - the chunk right after such a part when it is the rest of the frame:
//     both together no longer than a frame, ending with FF as replies end.
// Anything else, a card and a reply sharing a chunk included, is one read,
// as it is one line of the logs. The card is the chunk's bytes without its
// trailing CR and LF; a chunk of nothing else is no read.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rovi {

class CardReadRule {
public:
    // The card `chunk` carries, or nothing. Chunks are given in the order
    // they came: a reply's rest is known by the part before it.
    std::optional<std::string_view> CardIn(std::string_view chunk);

private:
    std::size_t frame_rest_ = 0; // bytes a frame begun in the last chunk may still have
};

// A card as it is shown: its bytes as text when every one is printable
// ASCII (the reader's hex and decimal formats), spaced upper-case hex
// otherwise (its binary standard format, whose bytes are shown undecoded).
std::string CardText(std::string_view card);

} // namespace rovi
