#include "frame.h"

#include <algorithm>

namespace rovi {

namespace {

Frame EmptyFrame()
{
    Frame f{};
    f[kHead0Pos] = kHead0;
    f[kHead1Pos] = kHead1;
    f[kTailPos] = kTail;
    return f;
}

} // namespace

std::uint8_t Checksum(std::span<const std::uint8_t, kFieldCount> fields)
{
    unsigned sum = 0;
    for (std::uint8_t b : fields)
        sum += b;
    return static_cast<std::uint8_t>(sum & 0xFF);
}

Frame ComposeSetAll(const FieldBytes &fields)
{
    Frame f = EmptyFrame();
    for (std::size_t i = 0; i < kFieldCount; ++i)
        f[kFirstFieldPos + i] = fields[i];
    f[kSumPos] = Checksum(fields);
    return f;
}

Frame ComposeQuery()
{
    return ComposeSetAll(FieldBytes{});
}

Frame ComposeFieldSet(Field field, std::uint8_t value)
{
    FieldBytes fields{};
    fields[static_cast<std::size_t>(field)] = value;
    return ComposeSetAll(fields);
}

Frame ComposeFactoryReset()
{
    return ComposeFieldSet(Field::ctrl, kFactoryResetCtrl);
}

FieldBytes FieldBytesOf(std::span<const std::uint8_t, kFrameSize> frame)
{
    FieldBytes fields{};
    for (std::size_t i = 0; i < kFieldCount; ++i)
        fields[i] = frame[kFirstFieldPos + i];
    return fields;
}

bool VerifyReport(std::span<const std::uint8_t, kFrameSize> report)
{
    return report[kSumPos] == Checksum(report.subspan<kFirstFieldPos, kFieldCount>());
}

std::optional<Frame> VerifiedReport(std::string_view chunk)
{
    if (chunk.size() != kFrameSize)
        return std::nullopt;
    Frame report{};
    std::copy(chunk.begin(), chunk.end(), report.begin());
    if (!VerifyReport(report))
        return std::nullopt;
    return report;
}

bool AckSucceeded(std::span<const std::uint8_t, kAckSize> ack)
{
    return ack[kAckResultPos] == 0;
}

ChunkReply ReplyByLength(std::string_view chunk)
{
    if (chunk.size() == kAckSize)
        return ChunkReply::Ack;
    return VerifiedReport(chunk) ? ChunkReply::Report : ChunkReply::None;
}

std::uint8_t EncodeWiegand(const Wiegand &w)
{
    if (const auto *out = std::get_if<WiegandOutput>(&w))
        return static_cast<std::uint8_t>(kWiegandBase + out->format);
    return kDipSwitchCode;
}

std::uint8_t EncodeSerialFmt(int index) { return static_cast<std::uint8_t>(index + 1); }
std::uint8_t EncodeBaud(int index) { return static_cast<std::uint8_t>(index + 1); }

std::uint8_t EncodePower(const Power &p)
{
    if (const auto *sw = std::get_if<SoftwareControl>(&p))
        return static_cast<std::uint8_t>(kSoftwarePowerBase + sw->level);
    return kExternalPowerCode;
}

std::uint8_t EncodeReread(const Reread &r)
{
    return static_cast<std::uint8_t>((r.leave_mode ? kLeaveModeFlag : 0) +
                                     (r.unit == TimeUnitReread::minutes ? kUnitFlag : 0) + r.time);
}

std::uint8_t EncodeSendTime(const SendTime &s)
{
    return static_cast<std::uint8_t>((s.unit == TimeUnitSend::seconds ? kUnitFlag : 0) + s.time);
}

std::optional<int> DecodeIdAddr(std::uint8_t b)
{
    if (b >= kIdMin && b <= kIdMax)
        return b;
    return std::nullopt;
}

std::optional<Wiegand> DecodeWiegand(std::uint8_t b)
{
    if (b == kDipSwitchCode)
        return DipSwitchControl{};
    if (b >= kWiegandBase && b < kWiegandBase + kWiegandFormats)
        return WiegandOutput{b - kWiegandBase};
    return std::nullopt;
}

std::optional<int> DecodeSerialFmt(std::uint8_t b)
{
    if (b >= 1 && b <= kSerialFmtFormats)
        return b - 1;
    return std::nullopt;
}

std::optional<int> DecodeBaud(std::uint8_t b)
{
    if (b >= 1 && b <= kBaudRates)
        return b - 1;
    return std::nullopt;
}

std::optional<Power> DecodePower(std::uint8_t b)
{
    if (b == kExternalPowerCode)
        return ExternalControl{};
    if (b >= kSoftwarePowerBase && b < kSoftwarePowerBase + kPowerLevels)
        return SoftwareControl{b - kSoftwarePowerBase};
    return std::nullopt;
}

std::optional<Reread> DecodeReread(std::uint8_t b)
{
    const int time = b & kTimeMask;
    if (time > kMaxTime)
        return std::nullopt;
    return Reread{(b & kLeaveModeFlag) != 0,
                  (b & kUnitFlag) != 0 ? TimeUnitReread::minutes : TimeUnitReread::seconds, time};
}

std::optional<SendTime> DecodeSendTime(std::uint8_t b)
{
    const int time = b & kTimeMask;
    if ((b & kLeaveModeFlag) != 0 || time > kMaxTime)
        return std::nullopt;
    return SendTime{(b & kUnitFlag) != 0 ? TimeUnitSend::seconds : TimeUnitSend::tenths, time};
}

Reread NonZeroReread(Reread r)
{
    if (r.time == 0)
        r.unit = TimeUnitReread::minutes;
    return r;
}

SendTime NonZeroSendTime(SendTime s)
{
    if (s.time == 0)
        s.unit = TimeUnitSend::seconds;
    return s;
}

ParameterSet DecodeReport(std::span<const std::uint8_t, kFrameSize> report)
{
    return DecodeFields(FieldBytesOf(report));
}

ParameterSet DecodeFields(const FieldBytes &fields)
{
    auto at = [&](Field f) { return fields[static_cast<std::size_t>(f)]; };
    return ParameterSet{
        DecodeIdAddr(at(Field::id_addr)),   DecodeWiegand(at(Field::wiegand)),
        DecodeSerialFmt(at(Field::serial_fmt)), DecodeBaud(at(Field::baud)),
        DecodePower(at(Field::power)),      DecodeReread(at(Field::reread)),
        DecodeSendTime(at(Field::send_time)),
    };
}

} // namespace rovi
