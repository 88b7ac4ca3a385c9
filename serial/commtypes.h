#pragma once

#include "base/exception.h"

#include <cstdint>

namespace rovi {

// Enumerations kept in one byte as their ordinal; the order is fixed.
enum class TParity : std::uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : std::uint8_t { _1, _1_5, _2 };
enum class TByteSize : std::uint8_t { _5, _6, _7, _8 };
enum class TDtrControl : std::uint8_t { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl : std::uint8_t { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };

// Raised by StartPort only. An open failure also carries the system's error
// number (0 when there is none), so the caller can say why.
class ECommsError : public Exception {
public:
    explicit ECommsError(const std::string &message, int error = 0) : Exception(message), error_(error) {}
    int Errno() const { return error_; }

private:
    int error_;
};

// Notices from the workers to the window thread (WM_USER + 1..5).
inline constexpr int COMM_MSG_DATA = 1025;
inline constexpr int COMM_MSG_ERROR = 1026;
inline constexpr int COMM_MSG_HANGUP = 1027;
inline constexpr int COMM_MSG_MODEM = 1028;
inline constexpr int COMM_MSG_TX_EMPTY = 1029;

// Line-error flags carried by COMM_MSG_ERROR.
inline constexpr std::uint32_t CE_RXOVER = 0x0001;
inline constexpr std::uint32_t CE_OVERRUN = 0x0002;
inline constexpr std::uint32_t CE_RXPARITY = 0x0004;
inline constexpr std::uint32_t CE_FRAME = 0x0008;
inline constexpr std::uint32_t CE_BREAK = 0x0010;

// Modem bits carried by COMM_MSG_MODEM.
inline constexpr std::uint32_t MODEM_EVENT_RING = 4;
inline constexpr std::uint32_t MODEM_EVENT_RLSD = 8;

// The largest chunk one read delivers, and the driver queue size.
inline constexpr std::uint32_t kReadBufferSize = 4096;

// A time-out of MAXDWORD has a special meaning in the read time-outs.
inline constexpr std::uint32_t MAXDWORD = 0xFFFFFFFFu;

// The five time-outs, in milliseconds, with the meaning of COMMTIMEOUTS.
struct CommTimeouts {
    std::uint32_t ReadIntervalTimeout = 100;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
    bool operator==(const CommTimeouts &) const = default;
};

// The line settings the component applies to the device.
struct LineSettings {
    std::uint32_t BaudRate = 9600;
    bool ParityCheck = false;
    bool Outx_CtsFlow = false;
    bool Outx_DsrFlow = false;
    TDtrControl DtrControl = TDtrControl::DtrEnable;
    bool DsrSensitivity = false;
    bool TxContinueOnXoff = true;
    bool Outx_XonXoffFlow = true;
    bool Inx_XonXoffFlow = true;
    bool ReplaceWhenParityError = false;
    bool IgnoreNullChar = false;
    TRtsControl RtsControl = TRtsControl::RtsEnable;
    std::uint16_t XonLimit = 500;
    std::uint16_t XoffLimit = 500;
    TByteSize ByteSize = TByteSize::_8;
    TParity Parity = TParity::None;
    TStopBits StopBits = TStopBits::_1;
    char XonChar = 17;
    char XoffChar = 19;
    char ReplacedChar = 0;
    bool operator==(const LineSettings &) const = default;
};

} // namespace rovi
