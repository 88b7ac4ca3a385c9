// The Telnet side of an RFC 2217 device server on any bytes from it: the
// data is the same however the bytes are cut; every answer is a whole
// negotiation command; data encoded for the wire decodes to itself.
#include "check.h"

#include "serial/telnetcodec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace rovi;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);

    TelnetCodec whole;
    std::string whole_reply;
    const std::string at_once = whole.Decode(input, whole_reply);
    TelnetCodec bytewise;
    std::string bytewise_reply, one_by_one;
    for (const char c : input)
        one_by_one += bytewise.Decode(std::string_view(&c, 1), bytewise_reply);
    FUZZ_CHECK(at_once == one_by_one);
    FUZZ_CHECK(whole_reply == bytewise_reply);
    FUZZ_CHECK(at_once.size() <= input.size());

    FUZZ_CHECK(whole_reply.size() % 3 == 0);
    for (std::size_t i = 0; i < whole_reply.size(); i += 3) {
        FUZZ_CHECK(static_cast<std::uint8_t>(whole_reply[i]) == TelnetCodec::kIac);
        const auto verb = static_cast<std::uint8_t>(whole_reply[i + 1]);
        FUZZ_CHECK(verb >= TelnetCodec::kWill && verb <= TelnetCodec::kDont);
    }

    TelnetCodec fresh;
    std::string reply;
    FUZZ_CHECK(fresh.Decode(TelnetCodec::Encode(input), reply) == input);
    FUZZ_CHECK(reply.empty());
    return 0;
}
