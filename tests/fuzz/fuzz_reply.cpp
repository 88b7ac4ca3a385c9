// Finding a reader's reply in any bytes that come after a command: what is
// found is a whole reply frame of its form at its offset, never the
// command's echo, and nothing earlier is one.
#include "check.h"
#include "protocol/frame.h"
#include "protocol/replyscan.h"

#include <cstdint>
#include <string_view>

using namespace rovi;

namespace {

bool At(std::string_view b, std::size_t i, std::uint8_t v)
{
    return i < b.size() && static_cast<std::uint8_t>(b[i]) == v;
}

// A reply of either form starting at i, by the frame layout alone.
bool ReplyAt(std::string_view b, std::size_t i, std::string_view sent)
{
    if (!At(b, i, kHead0) || !At(b, i + 1, kHead1))
        return false;
    if (At(b, i + kFrameSize - 1, kTail))
        return b.substr(i, kFrameSize) != sent;
    return At(b, i + kAckSize - 1, kTail);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view received(reinterpret_cast<const char *>(data), size);
    const Frame query = ComposeQuery();
    const std::string_view sent = AsBytes(query);
    const auto found = FindReply(received, sent);
    std::size_t first = received.size();
    for (std::size_t i = 0; i < received.size(); ++i)
        if (ReplyAt(received, i, sent)) {
            first = i;
            break;
        }
    if (!found) {
        FUZZ_CHECK(first == received.size());
        return 0;
    }
    FUZZ_CHECK(found->offset == first);
    FUZZ_CHECK(found->bytes.data() == received.data() + found->offset);
    if (found->form == FoundReply::Form::Report) {
        FUZZ_CHECK(found->bytes.size() == kFrameSize && found->bytes != sent);
        FUZZ_CHECK(At(found->bytes, kFrameSize - 1, kTail));
    } else {
        FUZZ_CHECK(found->bytes.size() == kAckSize && At(found->bytes, kAckSize - 1, kTail));
        FUZZ_CHECK(!At(received, found->offset + kFrameSize - 1, kTail)); // not the start of a whole frame
    }
    FUZZ_CHECK(At(found->bytes, 0, kHead0) && At(found->bytes, 1, kHead1));
    return 0;
}
