#pragma once

// A reader behind a serial device server, named where a port is named:
//   tcp://HOST:PORT       raw TCP, the line's rate set on the server;
//   rfc2217://HOST:PORT   Telnet with the COM-PORT-OPTION (RFC 2217): the
//                         program's rate and frame format set the server's line.
// HOST is a name, an IPv4 address or an IPv6 address in brackets.

#include <optional>
#include <string>

namespace rovi {

struct NetPort {
    enum class Kind { Tcp, Rfc2217 };
    Kind kind;
    std::string host;    // without brackets
    std::string service; // the port number, as digits
};

// The device server a port name stands for; nothing when it names no
// network port (a local device, or a malformed address: see NetPortError).
std::optional<NetPort> ParseNetPort(const std::string &name);
// True when the name starts like a network port (tcp:// or rfc2217://),
// whether or not the rest is well formed.
bool LooksLikeNetPort(const std::string &name);

} // namespace rovi
