#pragma once

// rovi-cli's command line: which command, on which port and line, with what.

#include "protocol/fieldwords.h"
#include "serial/linetypes.h"

#include <QStringList>

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace rovi::cli {

// Exit codes a script can rely on.
enum ExitCode : int {
    kExitDone = 0,
    kExitFailure = 1,      // anything else (a write that failed, an interrupted run)
    kExitUsage = 2,        // bad arguments or values; nothing was sent
    kExitOpenFailed = 3,   // the port could not be opened
    kExitNoReply = 4,      // no reply within the time-out
    kExitRefused = 5,      // a negative acknowledgement
    kExitNotVerified = 6,  // a reply that does not verify (checksum, form, --verify)
};

enum class Command { Ports, Query, Set, Reset, Send, Monitor, Provision, Scan, Cards };

struct LineOptions {
    std::string port;
    std::uint32_t baud = kFactoryBaudRate;
    Parity parity = Parity::None;
    DataBits data_bits = DataBits::Eight;
    StopBits stop_bits = StopBits::One;
};

struct Invocation {
    Command command = Command::Ports;
    LineOptions line;
    bool json = false;
    int timeout_ms = 1000; // as the window's reply time-out
    bool timeout_set = false; // --timeout given (monitor: silence that ends it)
    bool verify = false;   // set: query afterwards and compare
    bool cards = false;    // monitor: card numbers only
    std::optional<int> count; // monitor: chunks; provision: readers
    std::vector<FieldValue> fields; // set, provision
    std::string hex;                // send
    std::optional<int> id_from;     // provision
    std::string record;             // provision: CSV file
    std::vector<std::string> scan_ports; // scan: the ports to search (empty: the adapters present)
    std::vector<int> scan_rates;         // scan: the rates to try (empty: all eight)
    int seconds = 10;                    // cards: how long to listen
};

// Text to print instead of running: help (exit 0, stdout) or an error
// (exit kExitUsage, stderr).
struct Message {
    std::string text;
    bool error;
};

std::variant<Invocation, Message> ParseCommandLine(const QStringList &arguments);

} // namespace rovi::cli
