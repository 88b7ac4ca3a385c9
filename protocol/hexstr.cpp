#include "hexstr.h"

namespace rovi {

namespace {

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

unsigned Nibble(char c)
{
    if (c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    return static_cast<unsigned>(c - 'a' + 10);
}

} // namespace

ByteString HexToBytes(std::string_view text)
{
    ByteString result;
    result.reserve(text.size() / 2 + 1);
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        while (i < n && !IsHexDigit(text[i]))
            ++i;
        if (i >= n)
            break;
        unsigned value = Nibble(text[i]);
        if (i + 1 < n && IsHexDigit(text[i + 1]))
            value = (value << 4) | Nibble(text[i + 1]);
        result.push_back(static_cast<char>(value));
        i += 2;
    }
    return result;
}

std::string HexLine(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line;
    if (bytes.empty())
        return line;
    line.resize(bytes.size() * 3 - 1, ' ');
    char *out = line.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out[0] = kDigits[b >> 4];
        out[1] = kDigits[b & 0xF];
        out += 3; // past the space, which is already there
    }
    return line;
}

std::string HexDigitChar(unsigned char byte)
{
    const char c = static_cast<char>(byte);
    return IsHexDigit(c) ? std::string(1, c) : std::string();
}

std::string TextLine(std::string_view bytes)
{
    std::string line;
    line.reserve(bytes.size());
    for (char c : bytes)
        if (IsHexDigit(c))
            line.push_back(c);
    return line;
}

} // namespace rovi
