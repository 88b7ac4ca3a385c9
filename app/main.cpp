#include "cmdline.h"
#include "mainwindow.h"

#include "ui/messages.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include "base/winapi.h"
#endif

namespace {

// The backstop of the default error report: every handler already runs
// through RunHandler, so nothing should arrive here.
class ToolApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            rovi::ReportError(activeWindow(), e);
        } catch (...) {
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    const rovi::ToolStart start = rovi::ParseToolArguments(std::vector<std::string>(argv, argv + argc));
    if (start.print) {
#ifdef _WIN32
        // A window program has no console of its own: unless its output
        // goes to a file or pipe, print into the console it was started from.
        const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        const bool redirected = out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN;
        if (!redirected && AttachConsole(ATTACH_PARENT_PROCESS))
            (void)std::freopen("CONOUT$", "w", stdout);
#endif
        std::fputs(start.print->c_str(), stdout);
        return 0;
    }
    if (start.in_data_folder) {
#ifdef _WIN32
        const char *appdata = std::getenv("APPDATA");
        const std::filesystem::path folder = std::filesystem::path(appdata ? appdata : ".") / "rovi-tool";
#else
        const char *xdg = std::getenv("XDG_DATA_HOME");
        const char *home = std::getenv("HOME");
        const std::filesystem::path folder = rovi::DataFolder(xdg ? xdg : "", home ? home : "");
        if (folder.empty()) {
            std::fprintf(stderr, "rovi-tool: --in-data-folder needs HOME or XDG_DATA_HOME set to a folder\n");
            return 2;
        }
#endif
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        std::filesystem::current_path(folder, error);
        if (error)
            std::fprintf(stderr, "rovi-tool: cannot work in %s: %s\n", folder.string().c_str(), error.message().c_str());
    }

    ToolApplication app(argc, argv);
    QApplication::setApplicationName(rovi::kAppTitle);

    rovi::InstallChineseQtTranslation();

    rovi::MainWindow window;
    window.show();
    return app.exec();
}
