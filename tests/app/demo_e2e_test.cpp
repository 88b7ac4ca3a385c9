// The whole tool against the simulated reader process, as the demo runs it:
// set.ini naming the reader's terminal with auto-connect on, then 查看参数.
#include "app/mainwindow.h"
#include "tests/support/controls.h"
#include "panel/parampanel.h"
#include "panel/trafficmonitor.h"
#include "settings/portsettings.h"
#include "tests/support/factoryquery.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/qtwait.h"
#include "tests/support/tempdir.h"

#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include "serial/portinfo.h"

#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

using namespace rovi;

TEST(DemoRun, QueryFillsThePanelFromTheSimulatedReader)
{
    test::TempDir dir;
    test::MessageRecorder recorder;
    QProcess sim;
    sim.start(QStringLiteral(READER_SIM_PATH), {});
    ASSERT_TRUE(sim.waitForStarted());
    ASSERT_TRUE(test::WaitUntil([&] { return sim.canReadLine(); }));
    settings::PortSettings s;
    s.port = QString::fromUtf8(sim.readLine()).trimmed().toStdString();
    settings::SavePortSettings(settings::kIniPath, s, true);

    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Link().IsOpen());
    test::QueryShowsTheFactorySet(window);

    test::PanelControls(&window).Mirror(Field::id_addr)->setText("07");
    test::PanelControls(&window).SetButton(Field::id_addr)->click();
    ASSERT_TRUE(test::WaitUntil([&] { return !recorder.messages.empty(); }));
    EXPECT_EQ(recorder.messages[0].text, "设置成功");
    window.close();
    EXPECT_FALSE(window.Link().IsOpen());
    sim.terminate();
    sim.waitForFinished(3000);
}

#ifndef _WIN32
namespace {

// The processes whose parent is `parent`.
std::vector<pid_t> ChildrenOf(pid_t parent)
{
    std::vector<pid_t> children;
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        // pid (comm) state ppid …: comm may hold spaces, so read after its ')'.
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(line.substr(close + 2));
        char state = 0;
        pid_t ppid = 0;
        rest >> state >> ppid;
        if (ppid == parent)
            children.push_back(static_cast<pid_t>(std::stol(name)));
    }
    return children;
}

} // namespace

// rovi-tool --demo: connected to a simulated reader of its own, in a
// scratch folder; when it is told to end, neither is left behind.
TEST(DemoOption, ConnectsToItsOwnSimulatedReaderAndLeavesNothingBehind)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral(ROVI_TOOL_PATH), {"--demo"});
    ASSERT_TRUE(tool.waitForStarted());
    const std::string prefix = "rovi-tool: simulated reader on ";
    std::string said;
    std::size_t at = std::string::npos;
    ASSERT_TRUE(test::WaitUntil([&] {
        said += tool.readAllStandardError().toStdString();
        at = said.find(prefix);
        return at != std::string::npos && said.find('\n', at) != std::string::npos;
    }, 10000)) << said;
    const std::size_t from = at + prefix.size();
    const std::string port = said.substr(from, said.find('\n', from) - from);
    const pid_t pid = static_cast<pid_t>(tool.processId());
    // Connected: the tool holds the reader's terminal.
    ASSERT_TRUE(test::WaitUntil([&] {
        const auto holders = HoldersOf(port);
        return std::any_of(holders.begin(), holders.end(), [&](const PortHolder &h) { return h.pid == pid; });
    }, 10000));
    const std::vector<pid_t> children = ChildrenOf(pid);
    ASSERT_EQ(children.size(), 1u); // the simulated reader
    const std::filesystem::path scratch = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/cwd");
    EXPECT_TRUE(std::filesystem::exists(scratch / "set.ini"));

    ::kill(pid, SIGTERM); // as a logout would end it
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return !std::filesystem::exists("/proc/" + std::to_string(children[0])); }, 5000));
    EXPECT_FALSE(std::filesystem::exists(scratch));
}

TEST(DemoOption, UnknownOptionsAreRefused)
{
    QProcess tool;
    tool.start(QStringLiteral(ROVI_TOOL_PATH), {"--bogus"});
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitCode(), 2);
    EXPECT_NE(tool.readAllStandardError().indexOf("unknown option '--bogus'"), -1);
}
#endif
