// Finding a reader's reply in any bytes that come after a command, checked
// against the definition rather than a second scan: copies of the command
// (an echo), taken left to right, hide the bytes inside them; the reply is
// the earliest place outside them that holds FE F1 and an FF where a frame
// (12 bytes) or else an acknowledgement (4 bytes) ends. Checked for the
// query and for a command made of the input's first bytes (a set command's
// fields may hold FE F1 themselves).
#include "check.h"
#include "protocol/frame.h"
#include "protocol/replyscan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace rovi;

namespace {

bool At(std::string_view b, std::size_t i, std::uint8_t v)
{
    return i < b.size() && static_cast<std::uint8_t>(b[i]) == v;
}

struct Expected {
    std::size_t offset;
    FoundReply::Form form;
};

std::optional<Expected> Definition(std::string_view received, std::string_view sent)
{
    std::vector<bool> hidden(received.size(), false);
    for (std::size_t at = received.find(sent); at != std::string_view::npos; at = received.find(sent, at + sent.size()))
        for (std::size_t i = at; i < at + sent.size(); ++i)
            hidden[i] = true;
    for (std::size_t i = 0; i < received.size(); ++i) {
        if (hidden[i] || !At(received, i, kHead0) || !At(received, i + 1, kHead1))
            continue;
        if (At(received, i + kFrameSize - 1, kTail))
            return Expected{i, FoundReply::Form::Report};
        if (At(received, i + kAckSize - 1, kTail))
            return Expected{i, FoundReply::Form::Ack};
    }
    return std::nullopt;
}

void Check(std::string_view received, std::string_view sent)
{
    const auto found = FindReply(received, sent);
    const auto expected = Definition(received, sent);
    FUZZ_CHECK(found.has_value() == expected.has_value());
    if (!found)
        return;
    FUZZ_CHECK(found->offset == expected->offset);
    FUZZ_CHECK(found->form == expected->form);
    FUZZ_CHECK(found->bytes.data() == received.data() + found->offset);
    FUZZ_CHECK(found->bytes.size() == (found->form == FoundReply::Form::Report ? kFrameSize : kAckSize));
    FUZZ_CHECK(found->bytes != sent);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view received(reinterpret_cast<const char *>(data), size);
    const Frame query = ComposeQuery();
    Check(received, AsBytes(query));
    // A command of the program's shape (FE F1 … FF) with the input's first
    // nine bytes inside.
    if (size >= kFrameSize - 3) {
        std::string command(1, static_cast<char>(kHead0));
        command += static_cast<char>(kHead1);
        command += received.substr(0, kFrameSize - 3);
        command += static_cast<char>(kTail);
        Check(received, command);
    }
    return 0;
}
