#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

namespace rovi {

// The 12-byte configuration frame: head FE F1, eight field bytes, the sum of
// the field bytes modulo 256, tail FF. Reports use the same layout; an
// acknowledgement is 4 bytes whose byte 2 is 0 on success.
inline constexpr std::size_t kFrameSize = 12;
inline constexpr std::size_t kAckSize = 4;
inline constexpr std::size_t kFieldCount = 8;
inline constexpr std::uint8_t kHead0 = 0xFE;
inline constexpr std::uint8_t kHead1 = 0xF1;
inline constexpr std::uint8_t kTail = 0xFF;
inline constexpr std::size_t kHead0Pos = 0;
inline constexpr std::size_t kHead1Pos = 1;
inline constexpr std::size_t kFirstFieldPos = 2;
inline constexpr std::size_t kSumPos = 10;
inline constexpr std::size_t kTailPos = 11;
inline constexpr std::size_t kAckResultPos = 2;
inline constexpr std::uint8_t kFactoryResetCtrl = 0x80;

// The eight field bytes in frame order (frame byte kFirstFieldPos + index).
enum class Field : std::uint8_t { ctrl, id_addr, wiegand, serial_fmt, baud, power, reread, send_time };

using Frame = std::array<std::uint8_t, kFrameSize>;
using FieldBytes = std::array<std::uint8_t, kFieldCount>;

constexpr std::size_t FramePos(Field f) { return kFirstFieldPos + static_cast<std::size_t>(f); }

// Sum of the eight field bytes modulo 256.
std::uint8_t Checksum(std::span<const std::uint8_t, kFieldCount> fields);

Frame ComposeQuery();
Frame ComposeFactoryReset();
Frame ComposeFieldSet(Field field, std::uint8_t value);
Frame ComposeSetAll(const FieldBytes &fields);

FieldBytes FieldBytesOf(std::span<const std::uint8_t, kFrameSize> frame);

// The frame's 12 bytes as a byte string view, for sending and hex text.
inline std::string_view AsBytes(const Frame &frame)
{
    return std::string_view(reinterpret_cast<const char *>(frame.data()), frame.size());
}

// True when byte 10 equals the checksum of bytes 2..9; bytes 0, 1, 11 are not examined.
bool VerifyReport(std::span<const std::uint8_t, kFrameSize> report);

// A received chunk as a report: exactly kFrameSize bytes that pass
// VerifyReport; nothing otherwise.
std::optional<Frame> VerifiedReport(std::string_view chunk);

// True when the acknowledgement's byte 2 is 0.
bool AckSucceeded(std::span<const std::uint8_t, kAckSize> ack);

// How the window takes a received chunk, by its length alone: a report
// (VerifiedReport), an acknowledgement (any kAckSize bytes), or neither.
enum class ChunkReply { None, Report, Ack };
ChunkReply ReplyByLength(std::string_view chunk);

// ---- The fields' codes and ranges: the one place every part reads them ----

inline constexpr int kIdMin = 1; // id_addr
inline constexpr int kIdMax = 240;
inline constexpr std::uint8_t kDipSwitchCode = 0x01; // wiegand: the reader's DIP switches choose
inline constexpr std::uint8_t kWiegandBase = 0x41;   // wiegand: + format index
inline constexpr int kWiegandChoices = 5;            // 26, 34, 36, 44 and "disabled", all sent
inline constexpr int kWiegandFormats = 4;            // decoded: "disabled" is not
inline constexpr int kSerialFmtChoices = 4;          // serial_fmt: 1 + index, all sent
inline constexpr int kSerialFmtFormats = 3;          // decoded: "disabled" is not
inline constexpr int kBaudRates = 8;                 // baud: 1 + index
// The rates of the baud field's codes, by index (code 1 + index).
inline constexpr int kBaudRateValues[kBaudRates] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
// The rate a reader leaves the factory with: the one a list offers first
// and the one a port is opened at when nothing else is known.
inline constexpr int kFactoryBaudIndex = 3;
inline constexpr int kFactoryBaudRate = kBaudRateValues[kFactoryBaudIndex];
static_assert(kFactoryBaudRate == 9600);
inline constexpr std::uint8_t kExternalPowerCode = 0x01; // power: set by the reader's input
inline constexpr std::uint8_t kSoftwarePowerBase = 0x20; // power: + level index
inline constexpr int kPowerLevels = 32;
inline constexpr std::uint8_t kLeaveModeFlag = 0x80; // reread: re-read on leaving
inline constexpr std::uint8_t kUnitFlag = 0x40;      // minutes for reread, seconds for send_time
inline constexpr std::uint8_t kTimeMask = 0x3F;
inline constexpr int kMaxTime = 60; // reread and send_time

// ---- Field values, as the panel chooses them and as a report decodes ----

enum class TimeUnitReread : std::uint8_t { seconds, minutes };
enum class TimeUnitSend : std::uint8_t { tenths, seconds };

struct DipSwitchControl {
    bool operator==(const DipSwitchControl &) const = default;
};
struct WiegandOutput {
    int format; // 0..kWiegandFormats-1 decode; kWiegandFormats ("韦根禁止") is only sent
    bool operator==(const WiegandOutput &) const = default;
};
using Wiegand = std::variant<DipSwitchControl, WiegandOutput>;

struct ExternalControl {
    bool operator==(const ExternalControl &) const = default;
};
struct SoftwareControl {
    int level; // level index 0..31
    bool operator==(const SoftwareControl &) const = default;
};
using Power = std::variant<ExternalControl, SoftwareControl>;

struct Reread {
    bool leave_mode; // bit 7: re-read mode flag
    TimeUnitReread unit;
    int time; // 0..60
    bool operator==(const Reread &) const = default;
};

struct SendTime {
    TimeUnitSend unit;
    int time; // 0..60
    bool operator==(const SendTime &) const = default;
};

// A time of 0 in seconds (reread) or in tenths (send time) would be a 0
// byte, which a set frame reads as "leave unchanged"; the panel writes it in
// the other unit instead, where 0 means the same. Other times pass as given.
Reread NonZeroReread(Reread r);
SendTime NonZeroSendTime(SendTime s);

// A decoded report: each field holds a value or nothing ("not recognised").
struct ParameterSet {
    std::optional<int> id_addr;    // 1..240
    std::optional<Wiegand> wiegand;
    std::optional<int> serial_fmt; // format index 0..2
    std::optional<int> baud;       // rate index 0..7
    std::optional<Power> power;
    std::optional<Reread> reread;
    std::optional<SendTime> send_time;
};

ParameterSet DecodeReport(std::span<const std::uint8_t, kFrameSize> report);
ParameterSet DecodeFields(const FieldBytes &fields);

std::uint8_t EncodeWiegand(const Wiegand &w);
std::uint8_t EncodeSerialFmt(int index);
std::uint8_t EncodeBaud(int index);
std::uint8_t EncodePower(const Power &p);
std::uint8_t EncodeReread(const Reread &r);
std::uint8_t EncodeSendTime(const SendTime &s);

std::optional<Wiegand> DecodeWiegand(std::uint8_t b);
std::optional<int> DecodeSerialFmt(std::uint8_t b);
std::optional<int> DecodeBaud(std::uint8_t b);
std::optional<Power> DecodePower(std::uint8_t b);
std::optional<Reread> DecodeReread(std::uint8_t b);
std::optional<SendTime> DecodeSendTime(std::uint8_t b);
std::optional<int> DecodeIdAddr(std::uint8_t b);

} // namespace rovi
