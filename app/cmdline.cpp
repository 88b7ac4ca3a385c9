#include "cmdline.h"

#include <optional>

namespace rovi {

namespace {

const char kHelp[] =
    "usage: rovi-tool [--in-data-folder] [PROFILE]\n"
    "\n"
    "Configuration and test tool for the ROVI 2.4 GHz card reader on a serial\n"
    "port. The settings are kept in set.ini in the working directory. A\n"
    "PROFILE (*.rovi, as 保存参数… writes) fills the panel at start, as\n"
    "载入参数… does; nothing is sent.\n"
    "\n"
    "options:\n"
    "  --in-data-folder  work in ${XDG_DATA_HOME:-~/.local/share}/rovi-tool\n"
    "                    (created when missing), as the menu entry does;\n"
    "                    on Windows in %APPDATA%\\rovi-tool\n"
    "  --demo            connected to a simulated reader (reader-sim) in a\n"
    "                    scratch folder; both go when the window closes\n"
    "  --version         print the version and exit\n"
    "  -h, --help        print this text and exit\n";

// Whether a word is one of the options QApplication takes itself, and if so
// whether a value follows it; nothing for any other word.
std::optional<bool> QtOptionTakesValue(const std::string &word)
{
    static const char *const kWithValue[] = {"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                                             "-qwindowgeometry", "-qwindowicon", "-qwindowtitle", "-style",
                                             "-stylesheet", "-session", "-display", "-geometry", "-qmljsdebugger",
                                             "-title", "-name"};
    static const char *const kAlone[] = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};
    std::string name = word;
    if (name.starts_with("--"))
        name.erase(0, 1); // Qt takes both -style and --style
    const std::size_t eq = name.find('=');
    const bool has_value = eq != std::string::npos;
    if (has_value)
        name.erase(eq);
    for (const char *o : kWithValue)
        if (name == o)
            return !has_value;
    for (const char *o : kAlone)
        if (name == o)
            return false;
    return std::nullopt;
}

} // namespace

ToolStart ParseToolArguments(const std::vector<std::string> &arguments)
{
    ToolStart start;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string &a = arguments[i];
        if (a == "--version") {
            start.print = std::string("rovi-tool ") + kToolVersion + "\n";
            return start;
        }
        if (a == "--help" || a == "-h") {
            start.print = kHelp;
            return start;
        }
        if (a == "--in-data-folder") {
            start.in_data_folder = true;
            continue;
        }
        if (a == "--demo") {
            start.demo = true;
            continue;
        }
        // Qt's own options, with their values, are Qt's.
        if (const auto qt = QtOptionTakesValue(a)) {
            if (*qt)
                ++i;
            continue;
        }
        if (!a.empty() && a[0] != '-' && !start.profile) {
            start.profile = a;
            start.profile_index = i;
            continue;
        }
        if (!a.empty() && a[0] != '-') {
            start.error = "rovi-tool: one profile at a time ('" + *start.profile + "', then '" + a + "')";
            return start;
        }
        start.error = "rovi-tool: unknown option '" + a + "' (rovi-tool --help lists the options)";
        return start;
    }
    return start;
}

std::string DataFolder(const std::string &xdg_data_home, const std::string &home)
{
    // The XDG rule: an XDG_DATA_HOME that is not an absolute path is ignored.
    if (!xdg_data_home.empty() && xdg_data_home[0] == '/')
        return xdg_data_home + "/rovi-tool";
    if (home.empty() || home[0] != '/')
        return {}; // no home to put it in: never /.local/share
    return home + "/.local/share/rovi-tool";
}

} // namespace rovi
