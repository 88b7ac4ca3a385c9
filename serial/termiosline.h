#pragma once

// The line settings in Linux terms: what ApplyLineSettingsToDevice writes
// to a tty.

#include "linetypes.h"

#include <optional>
#include <termios.h>

namespace rovi {

// The termios structure the line settings give, starting from the device's
// current one: raw mode, receiver on, no modem control of open/close, reads
// that never block in the driver (the reader does its own timing).
// Returns nothing for settings the line cannot run (a baud rate of 0, or
// 1.5 stop bits with more than 5 data bits), which are then not applied at all.
// A baud rate without a Bxxx constant leaves the speed fields as they were:
// SetLineBaudRate sets it exactly afterwards.
std::optional<termios> BuildTermios(const termios &current, const LineSettings &s);

// The Bxxx constant of a standard rate, or nothing.
std::optional<speed_t> StandardBaud(std::uint32_t rate);

// Sets and reads back the exact baud rate through the kernel's termios2
// (BOTHER), for rates that have no Bxxx constant.
bool SetLineBaudRate(int fd, std::uint32_t rate);
std::optional<std::uint32_t> ReadLineBaudRate(int fd);

} // namespace rovi
