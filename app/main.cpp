#include "cmdline.h"
#include "demosession.h"
#include "mainwindow.h"
#include "startlanguage.h"

#include "ui/messages.h"
#include "ui/translation.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include "base/winapi.h"

#include <shellapi.h>
#else
#include <QDialog>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>
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

#ifndef _WIN32
// SIGTERM and SIGINT (a logout, kill, Ctrl+C in a terminal) end the program
// as its close box does, so the port is closed, the record flushed and a
// demo's simulated reader stopped. The handler only writes a byte; the
// event loop does the rest.
int g_quit_pipe[2] = {-1, -1};
bool g_quitting = false;

void OnQuitSignal(int)
{
    const char byte = 1;
    (void)!::write(g_quit_pipe[1], &byte, 1);
}

// A box may be waiting for an answer when the signal comes, the start's
// open-failure box even before the main loop runs: each is answered as its
// Escape key would answer it, so the code that asked goes on, and the
// window is closed. Quitting is said here too, as closing the last window
// ends nothing before the main loop has started.
void Quit(QWidget *window)
{
    g_quitting = true;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(top); dialog && dialog->isVisible())
            dialog->reject();
    }
    window->close();
    QCoreApplication::quit();
}

void QuitOnSignals(QWidget *window)
{
    if (::pipe(g_quit_pipe) != 0)
        return;
    ::fcntl(g_quit_pipe[0], F_SETFL, ::fcntl(g_quit_pipe[0], F_GETFL) | O_NONBLOCK);
    auto *notifier = new QSocketNotifier(g_quit_pipe[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        // The bytes are taken, or the notifier would fire again at once.
        char bytes[16];
        while (::read(g_quit_pipe[0], bytes, sizeof bytes) > 0) {
        }
        Quit(window);
    });
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}
#endif

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
    if (start.error) {
        std::fprintf(stderr, "%s\n", start.error->c_str());
        return 2;
    }
    // The profile's path as given, made whole before the working directory changes.
    std::filesystem::path profile;
    if (start.profile) {
#ifdef _WIN32
        // Its characters as the command line has them, not the ANSI code page's.
        int count = 0;
        LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
        profile = wide && start.profile_index < static_cast<std::size_t>(count)
                      ? std::filesystem::path(wide[start.profile_index])
                      : std::filesystem::path(*start.profile);
        LocalFree(wide);
#else
        profile = *start.profile;
#endif
        std::error_code error;
        profile = std::filesystem::absolute(profile, error);
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

    rovi::UseLanguage(rovi::StartLanguage());

    std::unique_ptr<rovi::DemoSession> demo;
    if (start.demo) {
#ifdef _WIN32
        std::fprintf(stderr, "rovi-tool: --demo needs reader-sim, which runs on Linux\n");
        return 2;
#else
        QString why;
        demo = rovi::DemoSession::Start(&why);
        if (!demo) {
            std::fprintf(stderr, "rovi-tool: no demo: %s\n", why.toLocal8Bit().constData());
            return 1;
        }
        std::fprintf(stderr, "rovi-tool: simulated reader on %s\n", demo->PortPath().toLocal8Bit().constData());
#endif
    }

    rovi::MainWindow window;
#ifndef _WIN32
    QuitOnSignals(&window);
#endif
    if (demo)
        window.ShowCardTest(); // the simulated reader's cards, as they come
    window.show(); // may ask its first question (set.ini's connect at start) before returning
#ifndef _WIN32
    if (g_quitting)
        return 0;
#endif
    if (!profile.empty())
        window.LoadProfileFile(QString::fromStdU16String(profile.u16string()));
    return app.exec();
}
