#pragma once

#include <cstdint>
#include <optional>

namespace rovi {

// The driver's line-error counters (Linux TIOCGICOUNT), read at open and
// after each read; a counter that moved between two readings is an error.
struct LineErrorCounts {
    int frame = 0;
    int parity = 0;
    int overrun = 0;
    int brk = 0;
    int buf_overrun = 0;
    bool operator==(const LineErrorCounts &) const = default;
};

// The line-error flags (LineError::Framing, LineError::Parity, LineError::Overrun, LineError::Break,
// LineError::InputOverflow) of the counters that differ. Counters wrap, so any change counts.
std::uint32_t LineErrorFlags(const LineErrorCounts &before, const LineErrorCounts &after);

#ifndef _WIN32
// The counters of an open tty, or nothing on a device without them (a
// pseudo-terminal). Windows has no counters: its driver hands out the
// error word itself (ClearCommError), which the reader posts as it is.
std::optional<LineErrorCounts> ReadLineErrorCounts(int fd);
#endif

// Keeps the last reading and tells what moved since. Given its first reading
// at open, so the first error after open is reported too.
class LineErrorWatch {
public:
    explicit LineErrorWatch(std::optional<LineErrorCounts> baseline) : last_(baseline) {}

    bool Active() const { return last_.has_value(); }

    // The flags of what changed since the last reading; 0 when nothing did.
    std::uint32_t Update(const LineErrorCounts &now)
    {
        const std::uint32_t flags = last_ ? LineErrorFlags(*last_, now) : 0;
        last_ = now;
        return flags;
    }

private:
    std::optional<LineErrorCounts> last_;
};

} // namespace rovi
