#include "tooloptions.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace rovi::settings {

ToolOptions ToolOptionsOf(const IniSectionReader &reader, std::size_t first)
{
    ToolOptions o;
    auto flag = [&](std::size_t i, bool &field) {
        if (const auto &v = reader.Value(first + i))
            field = IniInteger(*v, field ? 1 : 0) != 0;
    };
    flag(0, o.reconnect);
    if (const auto &v = reader.Value(first + 1)) {
        // A number out of range takes the nearest bound; text that is no
        // number leaves the default.
        const int lines = IniInteger(*v, o.log_lines);
        o.log_lines = std::clamp(lines, kMinLogLines, kMaxLogLines);
    }
    flag(2, o.log_to_file);
    flag(3, o.timestamps);
    if (const auto &v = reader.Value(first + 4))
        o.language = LanguageOfCode(*v);
    return o;
}

StoredSettings LoadStoredSettings(const std::string &path)
{
    constexpr std::size_t kPort = std::size(kPortKeys);
    constexpr std::size_t kTool = std::size(kToolKeys);
    std::array<IniKey, kPort + kTool> keys{};
    std::copy(std::begin(kPortKeys), std::end(kPortKeys), keys.begin());
    std::copy(std::begin(kToolKeys), std::end(kToolKeys), keys.begin() + kPort);
    IniSectionReader reader(kSection, keys);
    if (!ReadIniSection(path, reader))
        return {}; // unreadable: the defaults
    return {PortSettingsOf(reader), ToolOptionsOf(reader, kPort)};
}

void SaveToolSwitch(const std::string &path, const IniKey &key, bool on)
{
    WriteIniValue(path, kIniShownName, kSection, key, on ? "1" : "0");
}

} // namespace rovi::settings

namespace rovi::settings {

void SaveLanguage(const std::string &path, Language language)
{
    WriteIniValue(path, kIniShownName, kSection, kKeyLanguage, LanguageCode(language));
}

} // namespace rovi::settings
