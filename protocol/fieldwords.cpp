#include "fieldwords.h"

#include "base/convert.h"

#include <array>
#include <cstdio>

namespace rovi {

namespace {

constexpr std::array<const char *, kFieldCount> kNames{"ctrl", "id", "wiegand", "format", "baud", "power", "reread", "send"};
constexpr std::array<const char *, kWiegandChoices> kWiegandWords{"26", "34", "36", "44", "off"};
constexpr std::array<const char *, kSerialFmtChoices> kFormatWords{"standard", "hex", "dec", "off"};
constexpr std::array<const char *, kSerialFmtChoices> kFormatNames{"standard format", "hexadecimal card number",
                                                                  "decimal card number", "serial output off"};

template <std::size_t N> std::optional<int> IndexOf(const std::array<const char *, N> &words, std::string_view word)
{
    for (std::size_t i = 0; i < N; ++i)
        if (word == words[i])
            return static_cast<int>(i);
    return std::nullopt;
}

std::string Join(const char *const *words, std::size_t n)
{
    std::string text;
    for (std::size_t i = 0; i < n; ++i)
        text += (i ? ", " : "") + std::string(words[i]);
    return text;
}

// A decimal number in [low, high], or nothing.
std::optional<int> Number(std::string_view text, int low, int high)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos || text.size() > 9)
        return std::nullopt;
    const auto value = ParseInt(text);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return *value;
}

std::optional<std::uint8_t> ParseCtrl(std::string_view v)
{
    std::string text(v);
    if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0)
        text = text.substr(2);
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
    const int byte = StrToInt("$" + text);
    if (byte == 0 || byte == kFactoryResetCtrl)
        return std::nullopt;
    return static_cast<std::uint8_t>(byte);
}

std::optional<std::uint8_t> ParseWiegand(std::string_view v)
{
    if (v == "dip")
        return EncodeWiegand(DipSwitchControl{});
    if (const auto index = IndexOf(kWiegandWords, v))
        return EncodeWiegand(WiegandOutput{*index});
    return std::nullopt;
}

std::optional<std::uint8_t> ParseBaud(std::string_view v)
{
    const auto rate = Number(v, 1, 1000000);
    for (int i = 0; rate && i < kBaudRates; ++i)
        if (kBaudRateValues[i] == *rate)
            return EncodeBaud(i);
    return std::nullopt;
}

std::optional<std::uint8_t> ParsePower(std::string_view v)
{
    if (v == "external")
        return EncodePower(ExternalControl{});
    constexpr std::string_view kSoftware = "software:";
    if (v.substr(0, kSoftware.size()) != kSoftware)
        return std::nullopt;
    const auto level = Number(v.substr(kSoftware.size()), 1, kPowerLevels);
    if (!level)
        return std::nullopt;
    return EncodePower(SoftwareControl{*level - 1});
}

std::optional<std::uint8_t> ParseReread(std::string_view v)
{
    bool leave = false;
    if (const auto comma = v.find(','); comma != std::string_view::npos) {
        if (v.substr(comma + 1) != "leave")
            return std::nullopt;
        leave = true;
        v = v.substr(0, comma);
    }
    if (v.size() < 2 || (v.back() != 's' && v.back() != 'm'))
        return std::nullopt;
    const auto unit = v.back() == 'm' ? TimeUnitReread::minutes : TimeUnitReread::seconds;
    const auto time = Number(v.substr(0, v.size() - 1), 0, kMaxTime);
    if (!time)
        return std::nullopt;
    return EncodeReread(NonZeroReread(Reread{leave, unit, *time}));
}

// "3s" in seconds; "0.5s" (one decimal) in tenths.
std::optional<std::uint8_t> ParseSendTime(std::string_view v)
{
    if (v.size() < 2 || v.back() != 's')
        return std::nullopt;
    v.remove_suffix(1);
    const auto dot = v.find('.');
    if (dot == std::string_view::npos) {
        const auto seconds = Number(v, 0, kMaxTime);
        if (!seconds)
            return std::nullopt;
        return EncodeSendTime(NonZeroSendTime(SendTime{TimeUnitSend::seconds, *seconds}));
    }
    if (dot + 2 != v.size())
        return std::nullopt;
    const auto whole = Number(v.substr(0, dot), 0, kMaxTime / 10);
    const auto tenth = Number(v.substr(dot + 1), 0, 9);
    if (!whole || !tenth || *whole * 10 + *tenth > kMaxTime)
        return std::nullopt;
    return EncodeSendTime(NonZeroSendTime(SendTime{TimeUnitSend::tenths, *whole * 10 + *tenth}));
}

std::string Allowed(Field field)
{
    switch (field) {
    case Field::ctrl: return "a hexadecimal byte 01 to FF other than 80 (use the reset command)";
    case Field::id_addr: return "1 to " + std::to_string(kIdMax);
    case Field::wiegand: return "dip, " + Join(kWiegandWords.data(), kWiegandWords.size());
    case Field::serial_fmt: return Join(kFormatWords.data(), kFormatWords.size());
    case Field::baud: {
        std::string rates;
        for (int i = 0; i < kBaudRates; ++i)
            rates += (i ? ", " : "") + std::to_string(kBaudRateValues[i]);
        return rates;
    }
    case Field::power: return "external, or software:LEVEL with LEVEL 1 to " + std::to_string(kPowerLevels);
    case Field::reread:
        return "0s to " + std::to_string(kMaxTime) + "s or 0m to " + std::to_string(kMaxTime) +
               "m, optionally followed by ,leave";
    case Field::send_time: return "0s to " + std::to_string(kMaxTime) + "s, or 0.0s to 6.0s in tenths";
    }
    return {};
}

std::optional<std::uint8_t> ParseValue(Field field, std::string_view v)
{
    switch (field) {
    case Field::ctrl: return ParseCtrl(v);
    case Field::id_addr: {
        const auto id = Number(v, kIdMin, kIdMax);
        return id ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(*id)) : std::nullopt;
    }
    case Field::wiegand: return ParseWiegand(v);
    case Field::serial_fmt: {
        const auto index = IndexOf(kFormatWords, v);
        return index ? std::optional<std::uint8_t>(EncodeSerialFmt(*index)) : std::nullopt;
    }
    case Field::baud: return ParseBaud(v);
    case Field::power: return ParsePower(v);
    case Field::reread: return ParseReread(v);
    case Field::send_time: return ParseSendTime(v);
    }
    return std::nullopt;
}

std::string Hex(std::uint8_t byte)
{
    return "0x" + IntToHex2(byte);
}

} // namespace

const char *FieldName(Field field)
{
    return kNames[static_cast<std::size_t>(field)];
}

std::variant<std::vector<FieldValue>, FieldError> ParseAssignments(const std::vector<std::string> &words)
{
    std::vector<FieldValue> values;
    for (const std::string &word : words) {
        const auto eq = word.find('=');
        const std::string name = word.substr(0, eq);
        const auto index = IndexOf(kNames, name);
        if (eq == std::string::npos || !index)
            return FieldError{"'" + word + "' is not FIELD=VALUE with FIELD one of " + Join(kNames.data(), kNames.size())};
        const auto field = static_cast<Field>(*index);
        for (const FieldValue &earlier : values)
            if (earlier.field == field)
                return FieldError{"field " + name + " is given twice"};
        const auto byte = ParseValue(field, std::string_view(word).substr(eq + 1));
        if (!byte)
            return FieldError{"field " + name + ": '" + word.substr(eq + 1) + "' is not allowed; allowed: " + Allowed(field)};
        values.push_back({field, *byte});
    }
    if (values.empty())
        return FieldError{"no FIELD=VALUE given"};
    return values;
}

Frame SetFrameFor(const std::vector<FieldValue> &values)
{
    if (values.size() == 1)
        return ComposeFieldSet(values[0].field, values[0].byte);
    return ComposeSetAll(BytesOf(values));
}

FieldBytes BytesOf(const std::vector<FieldValue> &values)
{
    FieldBytes bytes{};
    for (const FieldValue &v : values)
        bytes[static_cast<std::size_t>(v.field)] = v.byte;
    return bytes;
}

std::vector<FieldValue> FieldsSetBy(const FieldBytes &bytes)
{
    std::vector<FieldValue> values;
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (bytes[i] != 0)
            values.push_back({static_cast<Field>(i), bytes[i]});
    return values;
}

std::string Words(const std::vector<FieldValue> &values)
{
    std::string text;
    for (const FieldValue &v : values)
        text += std::string(text.empty() ? "" : " ") + FieldName(v.field) + "=" + ValueText(v.field, v.byte).value_or("?");
    return text;
}

std::optional<std::string> ValueText(Field field, std::uint8_t byte)
{
    switch (field) {
    case Field::ctrl: return IntToHex2(byte);
    case Field::id_addr: {
        const auto id = DecodeIdAddr(byte);
        return id ? std::optional<std::string>(std::to_string(*id)) : std::nullopt;
    }
    case Field::wiegand: {
        if (byte == kDipSwitchCode)
            return "dip";
        if (byte >= kWiegandBase && byte < kWiegandBase + kWiegandChoices)
            return kWiegandWords[byte - kWiegandBase];
        return std::nullopt;
    }
    case Field::serial_fmt:
        if (byte >= 1 && byte <= kSerialFmtChoices)
            return kFormatWords[byte - 1];
        return std::nullopt;
    case Field::baud: {
        const auto index = DecodeBaud(byte);
        return index ? std::optional<std::string>(std::to_string(kBaudRateValues[*index])) : std::nullopt;
    }
    case Field::power: {
        const auto power = DecodePower(byte);
        if (!power)
            return std::nullopt;
        if (const auto *sw = std::get_if<SoftwareControl>(&*power))
            return "software:" + std::to_string(sw->level + 1);
        return "external";
    }
    case Field::reread: {
        const auto r = DecodeReread(byte);
        if (!r)
            return std::nullopt;
        return std::to_string(r->time) + (r->unit == TimeUnitReread::minutes ? "m" : "s") + (r->leave_mode ? ",leave" : "");
    }
    case Field::send_time: {
        const auto s = DecodeSendTime(byte);
        if (!s)
            return std::nullopt;
        if (s->unit == TimeUnitSend::seconds)
            return std::to_string(s->time) + "s";
        return std::to_string(s->time / 10) + "." + std::to_string(s->time % 10) + "s";
    }
    }
    return std::nullopt;
}

std::string Describe(Field field, std::uint8_t byte)
{
    const auto value = ValueText(field, byte);
    if (!value)
        return "not recognised (" + Hex(byte) + ")";
    switch (field) {
    case Field::ctrl: return Hex(byte);
    case Field::id_addr: return *value;
    case Field::wiegand:
        if (byte == kDipSwitchCode)
            return "set by the DIP switches";
        if (*value == "off")
            return "Wiegand output off";
        return "Wiegand output, Wiegand " + *value;
    case Field::serial_fmt: return kFormatNames[byte - 1];
    case Field::baud: return *value + " baud";
    case Field::power:
        if (*value == "external")
            return "external control";
        return "software control, level " + value->substr(value->find(':') + 1);
    case Field::reread: {
        const auto r = *DecodeReread(byte);
        return std::to_string(r.time) + (r.unit == TimeUnitReread::minutes ? " min" : " s") +
               (r.leave_mode ? ", re-read on leaving" : ", continuous re-read");
    }
    case Field::send_time: {
        return value->substr(0, value->size() - 1) + " s";
    }
    }
    return *value;
}

} // namespace rovi
