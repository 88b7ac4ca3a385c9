#include "telnetcodec.h"

namespace rovi {

namespace {

// COM-PORT-OPTION commands, client to server (RFC 2217).
constexpr std::uint8_t kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4, kSetControl = 5;
constexpr std::uint8_t kNoFlowControl = 1, kDtrOn = 8, kRtsOn = 11;

bool WeDo(std::uint8_t option)
{
    return option == TelnetCodec::kBinary || option == TelnetCodec::kSuppressGoAhead ||
           option == TelnetCodec::kComPort;
}

bool ServerMayDo(std::uint8_t option)
{
    return option == TelnetCodec::kBinary || option == TelnetCodec::kSuppressGoAhead;
}

std::string Command(std::uint8_t verb, std::uint8_t option)
{
    return {static_cast<char>(TelnetCodec::kIac), static_cast<char>(verb), static_cast<char>(option)};
}

std::string Sub(std::uint8_t command, std::string_view value)
{
    std::string sub = {static_cast<char>(TelnetCodec::kIac), static_cast<char>(TelnetCodec::kSb),
                       static_cast<char>(TelnetCodec::kComPort), static_cast<char>(command)};
    sub += TelnetCodec::Encode(value);
    sub += static_cast<char>(TelnetCodec::kIac);
    sub += static_cast<char>(TelnetCodec::kSe);
    return sub;
}

std::string Byte(std::uint8_t value)
{
    return std::string(1, static_cast<char>(value));
}

} // namespace

std::string TelnetCodec::Start()
{
    std::string out;
    for (const std::uint8_t option : {kBinary, kSuppressGoAhead, kComPort}) {
        local_[option] = State::WantYes;
        out += Command(kWill, option);
    }
    for (const std::uint8_t option : {kBinary, kSuppressGoAhead}) {
        remote_[option] = State::WantYes;
        out += Command(kDo, option);
    }
    return out;
}

std::string TelnetCodec::Encode(std::string_view data)
{
    std::string out;
    out.reserve(data.size() + 8);
    for (const char c : data) {
        out += c;
        if (static_cast<std::uint8_t>(c) == kIac)
            out += c;
    }
    return out;
}

std::string TelnetCodec::LineCommands(const LineSettings &line)
{
    const std::uint32_t rate = line.baudRate;
    const std::string rate_bytes = {static_cast<char>(rate >> 24), static_cast<char>(rate >> 16),
                                    static_cast<char>(rate >> 8), static_cast<char>(rate)};
    const std::uint8_t data_bits = static_cast<std::uint8_t>(5 + static_cast<int>(line.dataBits));
    const std::uint8_t parity = static_cast<std::uint8_t>(1 + static_cast<int>(line.parity)); // none, odd, even, mark, space
    const std::uint8_t stop = line.stopBits == StopBits::One ? 1 : line.stopBits == StopBits::Two ? 2 : 3;
    return Sub(kSetBaudRate, rate_bytes) + Sub(kSetDataSize, Byte(data_bits)) + Sub(kSetParity, Byte(parity)) +
           Sub(kSetStopSize, Byte(stop)) + Sub(kSetControl, Byte(kNoFlowControl)) + Sub(kSetControl, Byte(kDtrOn)) +
           Sub(kSetControl, Byte(kRtsOn));
}

void TelnetCodec::Negotiate(std::uint8_t verb, std::uint8_t option, std::string &reply)
{
    switch (verb) {
    case kDo:
        if (local_[option] == State::No) {
            const bool take = WeDo(option);
            local_[option] = take ? State::Yes : State::No;
            reply += Command(take ? kWill : kWont, option);
        } else {
            local_[option] = State::Yes;
        }
        break;
    case kDont:
        if (local_[option] == State::Yes)
            reply += Command(kWont, option);
        local_[option] = State::No;
        break;
    case kWill:
        if (remote_[option] == State::No) {
            const bool take = ServerMayDo(option);
            remote_[option] = take ? State::Yes : State::No;
            reply += Command(take ? kDo : kDont, option);
        } else {
            remote_[option] = State::Yes;
        }
        break;
    case kWont:
        if (remote_[option] == State::Yes)
            reply += Command(kDont, option);
        remote_[option] = State::No;
        break;
    default: break;
    }
}

std::string TelnetCodec::Decode(std::string_view bytes, std::string &reply)
{
    std::string data;
    data.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        switch (parse_) {
        case Parse::Data:
            if (b == kIac)
                parse_ = Parse::Iac;
            else
                data += c;
            break;
        case Parse::Iac:
            if (b == kIac) {
                data += c; // a doubled 0xFF is one data byte
                parse_ = Parse::Data;
            } else if (b == kDo || b == kDont || b == kWill || b == kWont) {
                verb_ = b;
                parse_ = Parse::Option;
            } else if (b == kSb) {
                sub_length_ = 0;
                parse_ = Parse::Sub;
            } else {
                parse_ = Parse::Data; // NOP, BREAK, GA and the like: nothing to do
            }
            break;
        case Parse::Option:
            Negotiate(verb_, b, reply);
            parse_ = Parse::Data;
            break;
        case Parse::Sub: // the server's COM-PORT answers and notices: passed over
            if (b == kIac)
                parse_ = Parse::SubIac;
            else if (++sub_length_ > kMaxSubnegotiation)
                parse_ = Parse::Data; // never ended: what follows is data again
            break;
        case Parse::SubIac:
            if (b == kIac && ++sub_length_ <= kMaxSubnegotiation)
                parse_ = Parse::Sub; // a doubled 0xFF inside it
            else
                parse_ = Parse::Data; // IAC SE ends it (anything else ends a broken one)
            break;
        }
    }
    return data;
}

} // namespace rovi
