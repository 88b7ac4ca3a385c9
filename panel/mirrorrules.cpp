#include "mirrorrules.h"

#include "base/convert.h"

namespace rovi::panel {

namespace {

bool TimeInRange(int v) { return v >= 0 && v <= kMaxTime; }

} // namespace

bool DigitFilterAccepts(char32_t typed)
{
    return (typed >= U'0' && typed <= U'9') || typed == 8;
}

RuleOutcome IdChange(std::string_view text)
{
    const int value = StrToInt(text);
    if (value < kIdMin || value > kIdMax)
        return {std::nullopt, kIdRangeMessage};
    return {IntToHex2(StrToIntDef(text, 1)), std::nullopt};
}

RuleOutcome IdExit(std::string_view text)
{
    const auto value = ParseInt(text);
    if (!value)
        return {std::nullopt, kIdFormatMessage};
    if (*value < kIdMin || *value > kIdMax)
        return {std::nullopt, kIdRangeMessage};
    return {IntToHex2(*value), std::nullopt};
}

RuleOutcome RereadChange(std::string_view text, bool leave_mode, int unit_index)
{
    if (!TimeInRange(StrToIntDef(text, 1)))
        return {std::nullopt, kTimeRangeMessage};
    const int t = StrToIntDef(text, 0);
    const auto unit = unit_index == 0 ? TimeUnitReread::minutes : TimeUnitReread::seconds;
    return {IntToHex2(EncodeReread(NonZeroReread(Reread{leave_mode, unit, t}))), std::nullopt};
}

RuleOutcome SendTimeChange(std::string_view text, int unit_index)
{
    if (!TimeInRange(StrToIntDef(text, 1)))
        return {std::nullopt, kTimeRangeMessage};
    const int t = StrToIntDef(text, 0);
    const auto unit = unit_index == 0 ? TimeUnitSend::seconds : TimeUnitSend::tenths;
    return {IntToHex2(EncodeSendTime(NonZeroSendTime(SendTime{unit, t}))), std::nullopt};
}

namespace {

std::optional<std::string> TimeExit(std::string_view text, const char *message)
{
    const auto value = ParseInt(text);
    if (!value || TimeInRange(*value))
        return std::nullopt;
    return message;
}

} // namespace

std::optional<std::string> RereadExit(std::string_view text)
{
    return TimeExit(text, kRereadExitMessage);
}

std::optional<std::string> SendTimeExit(std::string_view text)
{
    return TimeExit(text, kSendTimeExitMessage);
}

std::string WiegandMirror(const Wiegand &choice)
{
    return IntToHex2(EncodeWiegand(choice));
}

std::string PowerMirror(const Power &choice)
{
    return IntToHex2(EncodePower(choice));
}

std::string SerialFmtMirror(int index)
{
    return IntToHex2(EncodeSerialFmt(index));
}

std::string BaudMirror(int index)
{
    return IntToHex2(EncodeBaud(index));
}

std::string RereadModeCaption(bool checked)
{
    return checked ? MarkedText("MirrorRules", "离开重读") : MarkedText("MirrorRules", "连续重读");
}

} // namespace rovi::panel
