#pragma once

// The port settings as they live in set.ini between runs: reading never
// fails (defaults for whatever the file lacks), writing is key by key.

#include "inifile.h"

#include "protocol/frame.h"
#include "serial/linetypes.h"

#include <string>

namespace rovi::settings {

inline constexpr const char *kIniPath = "set.ini";        // in the current directory
inline constexpr const char *kIniShownName = ".\\set.ini"; // how messages name it
inline constexpr std::string_view kSection = "comset";

inline constexpr IniKey kKeyPort{"\xB4\xAE\xBF\xDA", "串口"};
inline constexpr IniKey kKeyBaud{"\xB2\xA8\xCC\xD8\xC2\xCA", "波特率"};
inline constexpr IniKey kKeyParity{"\xD0\xA3\xD1\xE9", "校验"};
inline constexpr IniKey kKeyData{"\xCA\xFD\xBE\xDD", "数据"};
inline constexpr IniKey kKeyStop{"\xCD\xA3\xD6\xB9", "停止"};
inline constexpr IniKey kKeyAuto{"auto", ""};

// The six keys in the order PortSettingsOf reads them.
inline constexpr IniKey kPortKeys[] = {kKeyPort, kKeyBaud, kKeyParity, kKeyData, kKeyStop, kKeyAuto};

// Text values longer than this are cut when read.
inline constexpr std::size_t kMaxTextValue = 2047;

struct PortSettings {
    std::string port = "COM1"; // port name as chosen
    std::string baud = std::to_string(kFactoryBaudRate); // baud rate text
    int parity = 0;               // parity: 0 none, 1 odd, 2 even
    int dataBits = 0;              // data bits: 0 = 8, 1 = 7, 2 = 6
    int stopBits = 0;               // stop bits: 0 = 1, 1 = 2
    int autoConnect = 0;              // > 0: open the port at start-up
    bool operator==(const PortSettings &) const = default;
};

// The settings a reader gives whose first keys are kPortKeys.
PortSettings PortSettingsOf(const IniSectionReader &reader);

// The settings a file's bytes give.
PortSettings ParsePortSettings(std::string_view file);
PortSettings LoadPortSettings(const std::string &path);

// Writes the six keys in order; the first that cannot be written throws and
// the keys before it stay written.
void SavePortSettings(const std::string &path, const PortSettings &s, bool auto_connect);

// An integer value: "0x"/"0X" in front becomes "$", then the lenient parse.
int IniInteger(std::string_view value, int fallback);

// The line the settings ask for: the reader's line (no flow control) at the
// baud text's rate, with the parity, data and stop bits their indexes name;
// an index outside its table leaves that setting as it is on `current`.
// A baud text that is no integer throws the conversion error.
LineSettings LineOf(const PortSettings &s, const LineSettings &current);

// The status-bar summary of an open port.
std::string StatusSummary(const PortSettings &s);

} // namespace rovi::settings
