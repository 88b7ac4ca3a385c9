#include "cmdline.h"

namespace rovi {

namespace {

const char kHelp[] =
    "usage: rovi-tool [--in-data-folder]\n"
    "\n"
    "Configuration and test tool for the ROVI 2.4 GHz card reader on a serial\n"
    "port. The settings are kept in set.ini in the working directory.\n"
    "\n"
    "options:\n"
    "  --in-data-folder  work in ${XDG_DATA_HOME:-~/.local/share}/rovi-tool\n"
    "                    (created when missing), as the menu entry does;\n"
    "                    on Windows in %APPDATA%\\rovi-tool\n"
    "  --version         print the version and exit\n"
    "  -h, --help        print this text and exit\n";

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
        // Anything else is left to Qt (-platform, -style …), which ignores what it does not know.
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
