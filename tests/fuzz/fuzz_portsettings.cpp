// The port settings a file gives: reading never fails, text values are
// bounded, and writing the settings back reads back the same settings.
#include "check.h"
#include "settings/inifile.h"
#include "settings/portsettings.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace rovi::settings;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char *>(data), size);
    const PortSettings s = ParsePortSettings(file);
    FUZZ_CHECK(s.port.size() <= kMaxTextValue && s.baud.size() <= kMaxTextValue);

    std::string saved(file);
    saved = IniReplace(saved, kSection, kKeyPort, s.port);
    saved = IniReplace(saved, kSection, kKeyBaud, s.baud);
    saved = IniReplace(saved, kSection, kKeyParity, std::to_string(s.parity));
    saved = IniReplace(saved, kSection, kKeyData, std::to_string(s.dataBits));
    saved = IniReplace(saved, kSection, kKeyStop, std::to_string(s.stopBits));
    saved = IniReplace(saved, kSection, kKeyAuto, s.autoConnect > 0 ? "1" : "0");
    PortSettings expected = s;
    expected.autoConnect = s.autoConnect > 0 ? 1 : 0;
    // Every value read is written so that it reads back the same (quoted
    // when reading would change it: blanks at its ends, a CR at its end, a
    // pair of quotes around it).
    FUZZ_CHECK(ParsePortSettings(saved) == expected);

    const std::string summary = StatusSummary(s);
    FUZZ_CHECK(summary.starts_with("串口:" + s.port + " 波特率:" + s.baud));
    for (int v : {s.parity, s.dataBits, s.stopBits})
        FUZZ_CHECK(IniInteger(std::to_string(v), -7) == v);
    return 0;
}
