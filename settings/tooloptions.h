#pragma once

// The tool's own options beside the port settings, in the same section of
// set.ini under keys of their own (a program that does not know them keeps
// them as they are): reconnecting, the logs' bound, the log file, the time
// stamps, the window's language. Reading never fails; a value that does not fit gives the default.

#include "inifile.h"
#include "portsettings.h"

#include "base/language.h"

#include <optional>
#include <string>

namespace rovi::settings {

inline constexpr IniKey kKeyReconnect{"reconnect", ""};
inline constexpr IniKey kKeyLogLines{"loglines", ""};
inline constexpr IniKey kKeyLogFile{"logfile", ""};
inline constexpr IniKey kKeyTimestamps{"timestamps", ""};
inline constexpr IniKey kKeyLanguage{"language", ""}; // "zh" or "en"

// The keys in the order ToolOptionsOf reads them.
inline constexpr IniKey kToolKeys[] = {kKeyReconnect, kKeyLogLines, kKeyLogFile, kKeyTimestamps, kKeyLanguage};

inline constexpr int kMinLogLines = 100;
inline constexpr int kMaxLogLines = 10'000'000;

struct ToolOptions {
    bool reconnect = true;    // 断线自动重连
    int log_lines = 100'000;  // each log keeps at most this many lines
    bool log_to_file = false; // 记录到文件
    bool timestamps = false;  // 显示时间戳
    // 语言 / Language; none (or a code not known) lets the system decide.
    std::optional<Language> language;
    bool operator==(const ToolOptions &) const = default;
};

// The options a reader gives whose keys from `first` on are kToolKeys.
ToolOptions ToolOptionsOf(const IniSectionReader &reader, std::size_t first);

// The port settings and the tool's options, in one pass over set.ini.
struct StoredSettings {
    PortSettings com;
    ToolOptions options;
};
StoredSettings LoadStoredSettings(const std::string &path);

// Writes one switch as "1" or "0"; throws as WriteIniValue does.
void SaveToolSwitch(const std::string &path, const IniKey &key, bool on);

// Writes the language's code; throws as WriteIniValue does.
void SaveLanguage(const std::string &path, Language language);

} // namespace rovi::settings
