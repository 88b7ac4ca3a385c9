#include "portsettings.h"

#include "base/texts.h"

#include "linechoices.h"

#include "base/convert.h"

namespace rovi::settings {

int IniInteger(std::string_view value, int fallback)
{
    if (value.starts_with("0x") || value.starts_with("0X")) {
        std::string text = "$";
        text.append(value.substr(2));
        return StrToIntDef(text, fallback);
    }
    return StrToIntDef(value, fallback);
}

namespace {

// Where each key stands in kPortKeys.
enum KeyIndex : std::size_t { kPort, kBaud, kParity, kData, kStop, kAuto };

} // namespace

PortSettings PortSettingsOf(const IniSectionReader &reader)
{
    PortSettings s;
    auto text = [&](KeyIndex i, std::string &field) {
        if (const auto &v = reader.Value(i))
            field = v->substr(0, kMaxTextValue);
    };
    auto integer = [&](KeyIndex i, int &field) {
        if (const auto &v = reader.Value(i))
            field = IniInteger(*v, field);
    };
    text(kPort, s.port);
    text(kBaud, s.baud);
    integer(kParity, s.parity);
    integer(kData, s.dataBits);
    integer(kStop, s.stopBits);
    integer(kAuto, s.autoConnect);
    return s;
}

PortSettings ParsePortSettings(std::string_view file)
{
    IniSectionReader reader(kSection, kPortKeys);
    reader.Feed(file);
    reader.Finish();
    return PortSettingsOf(reader);
}

PortSettings LoadPortSettings(const std::string &path)
{
    // One pass over the file in blocks, ending with the section; an
    // unreadable file gives the defaults.
    IniSectionReader reader(kSection, kPortKeys);
    if (!ReadIniSection(path, reader))
        return PortSettings{};
    return PortSettingsOf(reader);
}

void SavePortSettings(const std::string &path, const PortSettings &s, bool auto_connect)
{
    auto write = [&](const IniKey &key, std::string_view value) {
        WriteIniValue(path, kIniShownName, kSection, key, value);
    };
    write(kKeyPort, s.port);
    write(kKeyBaud, s.baud);
    write(kKeyParity, std::to_string(s.parity));
    write(kKeyData, std::to_string(s.dataBits));
    write(kKeyStop, std::to_string(s.stopBits));
    write(kKeyAuto, auto_connect ? "1" : "0");
}

LineSettings LineOf(const PortSettings &s, const LineSettings &current)
{
    const auto parity = ChoiceAt(kParityChoices, s.parity);
    const auto data = ChoiceAt(kDataBitsChoices, s.dataBits);
    const auto stop = ChoiceAt(kStopBitsChoices, s.stopBits);
    LineSettings line = ReaderLine(static_cast<std::uint32_t>(StrToInt(s.baud)));
    line.parity = parity ? parity->value : current.parity;
    line.dataBits = data ? data->value : current.dataBits;
    line.stopBits = stop ? stop->value : current.stopBits;
    return line;
}

std::string StatusSummary(const PortSettings &s)
{
    std::string text = Filled(Translated("PortSettings", "串口:%1 波特率:%2"), {s.port, s.baud});
    if (const auto parity = ChoiceAt(kParityChoices, s.parity))
        text += Translated("LineChoices", parity->status);
    if (const auto data = ChoiceAt(kDataBitsChoices, s.dataBits))
        text += Translated("LineChoices", data->status);
    if (const auto stop = ChoiceAt(kStopBitsChoices, s.stopBits))
        text += Translated("LineChoices", stop->status);
    return text;
}

} // namespace rovi::settings
