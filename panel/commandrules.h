#pragma once

// Which frame each button of the panel sends, from a snapshot of the
// panel's controls. Plain C++: the widgets only take the snapshot.

#include "protocol/frame.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace rovi::panel {

// The three buttons of 基础设置; each group's 设 置 is ComposeFieldSetFor.
enum class PanelButton { FactoryReset, SetAll, Query };

// What the buttons read of the panel. Indexes are -1 for no selection.
struct PanelSnapshot {
    std::array<std::string, 8> mirrors; // by Field
    std::string id_text;                // idAddress
    bool dip_switch = true;             // dipSwitchControl
    bool wiegand_output = false;        // wiegandOutput
    int wiegand_index = -1;             // wiegandFormat
    int serial_fmt_index = 0;           // serialFormat
    int baud_index = 3;                 // baudRate
    bool external_power = true;         // externalPower
    bool software_power = false;        // softwarePower
    int power_index = -1;               // powerLevel
    bool leave_mode = false;            // continuousReread
    int reread_unit = 1;                // rereadUnit: 0 分, 1 秒
    std::string reread_text;            // rereadTime
    int send_unit = 0;                  // sendTimeUnit: 0 秒, 1 0.1秒
    std::string send_text;              // sendTime
    bool operator==(const PanelSnapshot &) const = default;
};

// The low 8 bits of "$" + mirror by the strict parse (throws ConversionError).
std::uint8_t StrictMirrorByte(std::string_view mirror);
// The same by the lenient parse: 0 for text that does not parse.
std::uint8_t LenientMirrorByte(std::string_view mirror);

// The eight bytes 全部设置 sends: each mirror by the lenient parse (0,
// "leave unchanged", for an empty one).
FieldBytes SetAllFields(const PanelSnapshot &panel);
// The frame a button sends.
std::optional<Frame> ComposeFor(PanelButton button, const PanelSnapshot &panel);
// The frame a group's 设 置 sends: its mirror parsed strictly when it holds
// text, else the group's controls; nothing when they choose nothing. Throws
// ConversionError when the mirror does not parse.
std::optional<Frame> ComposeFieldSetFor(Field field, const PanelSnapshot &panel);

} // namespace rovi::panel
