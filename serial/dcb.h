#pragma once

#include "linetypes.h"

#include <cstdint>

namespace rovi {

// The device-control block members the line settings give on Windows, in
// the block's own units; plain values, so that they can be checked anywhere.
// The flag word is built from nothing: every bit the settings do not set is
// 0 (fAbortOnError among them).
struct DcbFields {
    std::uint32_t BaudRate = 0;
    std::uint32_t Flags = 0; // fBinary 0x0001 … fRtsControl 0x3000
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 8; // 5 to 8
    std::uint8_t Parity = 0;   // NOPARITY … SPACEPARITY
    std::uint8_t StopBits = 0; // ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    bool operator==(const DcbFields &) const = default;
};

// The flag bits, as the block's bit fields lie in its flag word.
namespace dcb {
inline constexpr std::uint32_t fBinary = 0x0001;
inline constexpr std::uint32_t fParity = 0x0002;
inline constexpr std::uint32_t fOutxCtsFlow = 0x0004;
inline constexpr std::uint32_t fOutxDsrFlow = 0x0008;
inline constexpr std::uint32_t fDtrControlShift = 4; // two bits
inline constexpr std::uint32_t fDsrSensitivity = 0x0040;
inline constexpr std::uint32_t fTXContinueOnXoff = 0x0080;
inline constexpr std::uint32_t fOutX = 0x0100;
inline constexpr std::uint32_t fInX = 0x0200;
inline constexpr std::uint32_t fErrorChar = 0x0400;
inline constexpr std::uint32_t fNull = 0x0800;
inline constexpr std::uint32_t fRtsControlShift = 12; // two bits
} // namespace dcb

DcbFields MakeDcbFields(const LineSettings &s);

} // namespace rovi
