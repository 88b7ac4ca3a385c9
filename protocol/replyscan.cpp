#include "replyscan.h"

namespace rovi {

namespace {

bool Is(std::string_view bytes, std::size_t at, std::uint8_t value)
{
    return at < bytes.size() && static_cast<std::uint8_t>(bytes[at]) == value;
}

} // namespace

std::optional<FoundReply> FindReply(std::string_view received, std::string_view sent)
{
    for (std::size_t i = 0; i + kAckSize <= received.size(); ++i) {
        if (!Is(received, i, kHead0) || !Is(received, i + 1, kHead1))
            continue;
        if (Is(received, i + kFrameSize - 1, kTail)) {
            const std::string_view frame = received.substr(i, kFrameSize);
            if (frame == sent) {
                i += kFrameSize - 1; // an echo of the command: look on after it
                continue;
            }
            return FoundReply{FoundReply::Form::Report, i, frame};
        }
        if (Is(received, i + kAckSize - 1, kTail))
            return FoundReply{FoundReply::Form::Ack, i, received.substr(i, kAckSize)};
    }
    return std::nullopt;
}

} // namespace rovi
