#include "cardread.h"

#include "frame.h"
#include "hexstr.h"

#include <algorithm>
#include <utility>

namespace rovi {

namespace {

bool StartsAFrame(std::string_view chunk)
{
    return chunk.size() >= 2 && static_cast<std::uint8_t>(chunk[0]) == kHead0 &&
           static_cast<std::uint8_t>(chunk[1]) == kHead1;
}

} // namespace

std::optional<std::string_view> CardReadRule::CardIn(std::string_view chunk)
{
    const std::size_t rest = std::exchange(frame_rest_, 0);
    if (ReplyByLength(chunk) != ChunkReply::None)
        return std::nullopt;
    if (StartsAFrame(chunk) && chunk.size() <= kFrameSize) {
        frame_rest_ = kFrameSize - chunk.size();
        return std::nullopt;
    }
    if (!chunk.empty() && chunk.size() <= rest && static_cast<std::uint8_t>(chunk.back()) == kTail)
        return std::nullopt;
    const std::size_t end = chunk.find_last_not_of("\r\n");
    if (end == std::string_view::npos)
        return std::nullopt;
    return chunk.substr(0, end + 1);
}

std::string CardText(std::string_view card)
{
    const bool printable = std::all_of(card.begin(), card.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
    return printable ? std::string(card) : HexLine(card);
}

} // namespace rovi
