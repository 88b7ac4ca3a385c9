#pragma once

// The client side of a Telnet connection to a serial device server with
// the COM-PORT-OPTION of RFC 2217: data bytes out with 0xFF doubled, the
// server's bytes in with its commands taken out, option negotiation
// answered (the Q method of RFC 1143: no request is answered twice, so no
// loop), and the line's settings as subnegotiations. Plain C++, no I/O:
// what the server is to be sent comes back as bytes.
//
// Options taken: BINARY and SUPPRESS-GO-AHEAD both ways, COM-PORT-OPTION
// ours. Any other option the server offers or asks for is refused; any
// other command (NOP, BREAK, …) is dropped. Nothing waits for the server's
// answers: a server that never acknowledges a setting (ser2net on a
// pseudo-terminal does not, for the modem lines) still carries the data.

#include "linetypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace rovi {

class TelnetCodec {
public:
    // The opening requests.
    std::string Start();
    // Data for the server: every 0xFF doubled.
    static std::string Encode(std::string_view data);
    // The server's bytes: the data they carry, and in `reply` what the
    // server is to be sent in answer. A command cut between two calls is
    // put together.
    std::string Decode(std::string_view bytes, std::string &reply);
    // The line's rate, data bits, parity and stop bits, no flow control,
    // DTR and RTS on: the subnegotiations that set them.
    static std::string LineCommands(const LineSettings &line);

    // Whether the server agreed to the COM-PORT-OPTION (it said DO).
    bool ComPortAgreed() const { return local_[kComPort] == State::Yes; }

    static constexpr std::uint8_t kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251, kSb = 250, kSe = 240;
    static constexpr std::uint8_t kBinary = 0, kSuppressGoAhead = 3, kComPort = 44;
    // A subnegotiation longer than this is no COM-PORT answer: it is taken
    // as never ended, and what follows is data again.
    static constexpr std::size_t kMaxSubnegotiation = 64;

private:
    enum class State : std::uint8_t { No, WantYes, Yes };
    enum class Parse : std::uint8_t { Data, Iac, Option, Sub, SubIac };

    void Negotiate(std::uint8_t verb, std::uint8_t option, std::string &reply);

    std::array<State, 256> local_{};  // options we do
    std::array<State, 256> remote_{}; // options the server does
    Parse parse_ = Parse::Data;
    std::uint8_t verb_ = 0;
    std::size_t sub_length_ = 0;
};

} // namespace rovi
