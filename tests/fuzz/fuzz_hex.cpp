// Hex text to bytes and back: the hex line of any bytes parses back to the
// same bytes; a text line holds exactly the bytes that are hex digits.
#include "check.h"
#include "protocol/hexstr.h"

#include <cctype>
#include <cstdint>
#include <string_view>

using namespace rovi;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);

    // Any text parses; each byte uses at least one hex digit of the text.
    const ByteString parsed = HexToBytes(input);
    std::size_t digits = 0;
    for (unsigned char c : input)
        digits += std::isxdigit(c) ? 1 : 0;
    FUZZ_CHECK(parsed.size() <= digits && 2 * parsed.size() >= digits);

    // Any bytes: hex line round trip, its exact shape.
    const std::string line = HexLine(input);
    FUZZ_CHECK(line.size() == (size == 0 ? 0 : 3 * size - 1));
    FUZZ_CHECK(HexToBytes(line) == ByteString(input));

    const std::string text = TextLine(input);
    std::string expected;
    for (unsigned char c : input)
        if (std::isxdigit(c))
            expected += static_cast<char>(c);
    FUZZ_CHECK(text == expected);
    for (unsigned char c : input)
        FUZZ_CHECK(HexDigitChar(c) == (std::isxdigit(c) ? std::string(1, static_cast<char>(c)) : std::string()));
    return 0;
}
