#pragma once

// Which frame each button of the panel sends, from a snapshot of the
// panel's controls. Plain C++: the widgets only take the snapshot.

#include "protocol/frame.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace rovi::panel {

enum class PanelButton { FactoryReset, SetAll, Query, Set1, Set2, Set3, Set4, Set5, Set6, Set7, Set8 };

// What the buttons read of the panel. Indexes are -1 for no selection.
struct PanelSnapshot {
    std::array<std::string, 8> mirrors; // Edit_data1..8
    std::string id_text;                // Edit_set2
    bool dip_switch = true;             // RadioButton1
    bool wiegand_output = false;        // RadioButton2
    int wiegand_index = -1;             // ComboBox_wg
    int serial_fmt_index = 0;           // ComboBox3
    int baud_index = 3;                 // ComboBox_btl
    bool external_power = true;         // RadioButton3
    bool software_power = false;        // RadioButton4
    int power_index = -1;               // ComboBox_gl
    bool leave_mode = false;            // CheckBox1
    int reread_unit = 1;                // ComboBox1: 0 分, 1 秒
    std::string reread_text;            // edit4
    int send_unit = 0;                  // ComboBox2: 0 秒, 1 0.1秒
    std::string send_text;              // Edit1
};

// The low 8 bits of "$" + mirror by the strict parse (throws EConvertError).
std::uint8_t StrictMirrorByte(std::string_view mirror);
// The same by the lenient parse: 0 for text that does not parse.
std::uint8_t LenientMirrorByte(std::string_view mirror);

// The frame a button sends, or nothing when it sends nothing. Throws
// EConvertError when a mirror it must parse strictly does not parse.
std::optional<Frame> ComposeFor(PanelButton button, const PanelSnapshot &panel);

} // namespace rovi::panel
