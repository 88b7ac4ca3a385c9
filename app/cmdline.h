#pragma once

// What the tool does with its command line before any window: --version and
// --help print and end the program; --in-data-folder makes the program's
// data folder (XDG_DATA_HOME or ~/.local/share, then rovi-tool) its working
// directory, so set.ini lives there when it is started from the menu;
// --demo connects the window to a simulated reader (app/demosession.h); a
// PROFILE file (*.rovi, as a double-click on one passes it) fills the panel
// once the window is up, as 载入参数… does.
// Qt's own options (-platform, -style …) are left to Qt; anything else is
// refused.

#include <optional>
#include <string>
#include <vector>

namespace rovi {

inline constexpr const char *kToolVersion = ROVI_VERSION; // from the project's version, once

struct ToolStart {
    std::optional<std::string> print; // print this and end
    std::optional<std::string> error; // say this and end with exit code 2
    bool in_data_folder = false;
    bool demo = false;
    std::optional<std::string> profile; // the profile file given
    std::size_t profile_index = 0;      // its place among the arguments
};

ToolStart ParseToolArguments(const std::vector<std::string> &arguments);

// The data folder for the given environment values (either may be empty);
// empty when neither gives an absolute folder.
std::string DataFolder(const std::string &xdg_data_home, const std::string &home);

} // namespace rovi
