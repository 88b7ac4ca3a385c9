#include "tooloptions.h"

#include "portsettings.h"

namespace rovi::settings {

ToolOptions LoadToolOptions(const std::string &path)
{
    constexpr IniKey kKeys[] = {kKeyReconnect, kKeyLogLines, kKeyLogFile, kKeyTimestamps};
    IniSectionReader reader(kSection, kKeys);
    ToolOptions o;
    if (!ReadFileBlocks(path, [&](std::string_view block) {
            reader.Feed(block);
            return !reader.Done();
        }))
        return o;
    reader.Finish();
    auto flag = [&](std::size_t i, bool &field) {
        if (const auto &v = reader.Value(i))
            field = IniInteger(*v, field ? 1 : 0) != 0;
    };
    flag(0, o.reconnect);
    if (const auto &v = reader.Value(1)) {
        const int lines = IniInteger(*v, o.log_lines);
        if (lines >= kMinLogLines && lines <= kMaxLogLines)
            o.log_lines = lines;
    }
    flag(2, o.log_to_file);
    flag(3, o.timestamps);
    return o;
}

void SaveToolSwitch(const std::string &path, const IniKey &key, bool on)
{
    WriteIniValue(path, kIniShownName, kSection, key, on ? "1" : "0");
}

} // namespace rovi::settings
