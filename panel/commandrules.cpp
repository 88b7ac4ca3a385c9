#include "commandrules.h"

#include "base/convert.h"

namespace rovi::panel {

namespace {

// Arithmetic on 32-bit patterns, as the low 8 bits are all that is sent.
std::uint8_t Low8(std::uint32_t v)
{
    return static_cast<std::uint8_t>(v & 0xFF);
}

std::uint32_t Bits(std::int32_t v)
{
    return static_cast<std::uint32_t>(v);
}

// A single-field set: the mirror strictly when it holds text, else the fallback.
template <class Fallback>
std::optional<Frame> FieldSet(Field field, const std::string &mirror, Fallback fallback)
{
    if (!mirror.empty())
        return ComposeFieldSet(field, StrictMirrorByte(mirror));
    const std::optional<std::uint8_t> value = fallback();
    if (!value)
        return std::nullopt;
    return ComposeFieldSet(field, *value);
}

// The mirror's text as a hexadecimal number: "$" in front.
std::string AsHex(std::string_view mirror)
{
    std::string text;
    text.reserve(mirror.size() + 1);
    text.push_back('$');
    text.append(mirror);
    return text;
}

// The fallback of a group with two radio buttons: the first's fixed choice,
// the second's listed choice, nothing when neither is checked.
template <class Fixed, class Listed>
std::optional<std::uint8_t> RadioChoice(bool fixed, bool listed, std::uint8_t (*encode)(const std::variant<Fixed, Listed> &),
                                        Listed listed_choice)
{
    if (fixed)
        return encode(Fixed{});
    if (listed)
        return encode(listed_choice);
    return std::nullopt;
}

const std::string &MirrorOf(const PanelSnapshot &p, Field f)
{
    return p.mirrors[static_cast<std::size_t>(f)];
}

} // namespace

std::uint8_t StrictMirrorByte(std::string_view mirror)
{
    return Low8(Bits(StrToInt(AsHex(mirror))));
}

std::uint8_t LenientMirrorByte(std::string_view mirror)
{
    return Low8(Bits(StrToIntDef(AsHex(mirror), 0)));
}

FieldBytes SetAllFields(const PanelSnapshot &p)
{
    FieldBytes fields{};
    for (std::size_t i = 0; i < kFieldCount; ++i)
        fields[i] = LenientMirrorByte(p.mirrors[i]);
    return fields;
}

std::optional<Frame> ComposeFor(PanelButton button, const PanelSnapshot &p)
{
    switch (button) {
    case PanelButton::FactoryReset:
        return ComposeFactoryReset();
    case PanelButton::Query:
        return ComposeQuery();
    case PanelButton::SetAll:
        return ComposeSetAll(SetAllFields(p));
    }
    return std::nullopt;
}

std::optional<Frame> ComposeFieldSetFor(Field field, const PanelSnapshot &p)
{
    using Byte = std::optional<std::uint8_t>;
    switch (field) {
    case Field::ctrl:
        return FieldSet(Field::ctrl, MirrorOf(p, Field::ctrl), [] { return Byte{}; });
    case Field::id_addr:
        return FieldSet(Field::id_addr, MirrorOf(p, Field::id_addr),
                        [&] { return Byte{Low8(Bits(StrToIntDef(p.id_text, 1)))}; });
    case Field::wiegand:
        return FieldSet(Field::wiegand, MirrorOf(p, Field::wiegand),
                        [&] { return RadioChoice(p.dip_switch, p.wiegand_output, EncodeWiegand, WiegandOutput{p.wiegand_index}); });
    case Field::serial_fmt:
        return FieldSet(Field::serial_fmt, MirrorOf(p, Field::serial_fmt),
                        [&] { return Byte{EncodeSerialFmt(p.serial_fmt_index)}; });
    case Field::baud:
        return FieldSet(Field::baud, MirrorOf(p, Field::baud), [&] { return Byte{EncodeBaud(p.baud_index)}; });
    case Field::power:
        return FieldSet(Field::power, MirrorOf(p, Field::power),
                        [&] { return RadioChoice(p.external_power, p.software_power, EncodePower, SoftwareControl{p.power_index}); });
    case Field::reread:
        return FieldSet(Field::reread, MirrorOf(p, Field::reread), [&]() -> Byte {
            if (p.reread_text.empty())
                return std::nullopt;
            // No zero-time substitution here, unlike the mirror rules.
            const std::uint32_t t = Bits(StrToIntDef(p.reread_text, 0));
            std::uint32_t value = p.leave_mode ? kLeaveModeFlag : 0u;
            if (p.reread_unit == 0)
                value += kUnitFlag + t;
            else if (p.reread_unit == 1)
                value += t;
            return Low8(value);
        });
    case Field::send_time:
        return FieldSet(Field::send_time, MirrorOf(p, Field::send_time), [&]() -> Byte {
            if (p.send_text.empty())
                return std::nullopt;
            const std::uint32_t t = Bits(StrToIntDef(p.send_text, 0));
            if (p.send_unit == 0)
                return Low8(t + kUnitFlag);
            if (p.send_unit == 1)
                return Low8(t);
            return Low8(0);
        });
    }
    return std::nullopt;
}

} // namespace rovi::panel
