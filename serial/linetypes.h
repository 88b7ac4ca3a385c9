#pragma once

// The line a serial link runs: what the settings, the dialog and the command
// line choose, and what the link tells about the line while it is open.

#include "base/exception.h"

#include <cstdint>

namespace rovi {

// Enumerations kept in one byte as their ordinal; the order is fixed (it is
// the control block's, and set.ini stores list positions mapped onto it).
enum class Parity : std::uint8_t { None, Odd, Even, Mark, Space };
enum class StopBits : std::uint8_t { One, OnePointFive, Two };
enum class DataBits : std::uint8_t { Five, Six, Seven, Eight };
enum class DtrControl : std::uint8_t { Enable, Disable, Handshake };
enum class RtsControl : std::uint8_t { Enable, Disable, Handshake, TransmissionAvailable };

// Raised when a port cannot be opened. An open failure also carries the
// system's error number (0 when there is none), so the caller can say why.
class SerialError : public Exception {
public:
    explicit SerialError(const std::string &message, int error = 0) : Exception(message), error_(error) {}
    int Errno() const { return error_; }

private:
    int error_;
};

// The flags of SerialLink::lineError, with the values of the Windows error
// word (ClearCommError), which the Windows back end passes on as it is.
struct LineError {
    static constexpr std::uint32_t InputOverflow = 0x0001; // the driver's input queue overflowed
    static constexpr std::uint32_t Overrun = 0x0002;       // the UART lost a byte
    static constexpr std::uint32_t Parity = 0x0004;
    static constexpr std::uint32_t Framing = 0x0008;
    static constexpr std::uint32_t Break = 0x0010;
};

// The bits of SerialLink::modemChanged.
struct ModemChange {
    static constexpr std::uint32_t Ring = 4;
    static constexpr std::uint32_t CarrierDetect = 8;
};

// The five time-outs, in milliseconds, with the meaning of the Windows
// COMMTIMEOUTS (kTimeoutAllOnes in serial/serialconstants.h is its
// special value).
struct LineTimeouts {
    std::uint32_t readInterval = 100;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;
    bool operator==(const LineTimeouts &) const = default;
};

// The line settings the link applies to the device, with the meaning of the
// Windows control block (DCB). Those with no Linux counterpart are kept and
// have no effect there.
struct LineSettings {
    std::uint32_t baudRate = 9600;
    bool parityCheck = false;
    bool outxCtsFlow = false;
    bool outxDsrFlow = false;
    DtrControl dtrControl = DtrControl::Enable;
    bool dsrSensitivity = false;
    bool txContinueOnXoff = true;
    bool outxXonXoffFlow = true;
    bool inxXonXoffFlow = true;
    bool replaceWhenParityError = false;
    bool ignoreNullChar = false;
    RtsControl rtsControl = RtsControl::Enable;
    std::uint16_t xonLimit = 500;
    std::uint16_t xoffLimit = 500;
    DataBits dataBits = DataBits::Eight;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    char xonChar = 17;
    char xoffChar = 19;
    char replacedChar = 0;
    bool operator==(const LineSettings &) const = default;
};

// The line the program runs a reader on: 8N1 at the given rate, without
// software flow control (which would swallow the 0x11 and 0x13 bytes of
// frames).
inline LineSettings ReaderLine(std::uint32_t baud_rate)
{
    LineSettings line;
    line.baudRate = baud_rate;
    line.outxXonXoffFlow = false;
    line.inxXonXoffFlow = false;
    return line;
}

} // namespace rovi
