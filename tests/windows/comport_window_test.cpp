// The tool's window on the simulated reader's COM port, as an installer
// meets it: set.ini names the port with auto-connect on, then 查看参数.
#include "comport.h"

#include "app/mainwindow.h"
#include "serial/portinfo.h"
#include "settings/portsettings.h"
#include "tests/support/factoryquery.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/qtwait.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace rovi;

TEST(ComPortWindow, QueryFillsThePanelFromTheReader)
{
    test::RestoreFactorySet(test::TestComPort());
    test::TempDir dir;
    test::MessageRecorder recorder;
    settings::PortSettings s;
    s.port = test::TestComPort();
    settings::SavePortSettings(settings::kIniPath, s, true);

    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Link().IsOpen());
    EXPECT_EQ(window.Link().PortName(), test::TestComPort());
    test::QueryShowsTheFactorySet(window);
    window.close();
    EXPECT_FALSE(window.Link().IsOpen());
    EXPECT_TRUE(recorder.messages.empty());
}

// The window's reconnect on Windows: the reader on ROVI_TEST_COM_HANGUP is
// unplugged (see comport_test.cpp) and comes back under the same name.
TEST(ComPortWindow, AnUnpluggedReaderIsReopenedWhenItComesBack)
{
    const char *port = std::getenv("ROVI_TEST_COM_HANGUP");
    const char *commands = std::getenv("ROVI_TEST_SIM_COMMANDS");
    if (!port || !commands)
        GTEST_SKIP() << "needs a simulated reader that takes commands (scripts/test-windows)";
    test::TempDir dir;
    test::MessageRecorder recorder;
    ASSERT_TRUE(test::WaitUntil([&] { return PortPresent(port); }, 10000));
    settings::PortSettings s;
    s.port = port;
    settings::SavePortSettings(settings::kIniPath, s, true);

    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Link().IsOpen());
    std::ofstream(commands) << "hangup\n";
    ASSERT_TRUE(test::WaitUntil([&] { return !window.Link().IsOpen(); }));
    EXPECT_EQ(window.StatusText(), QString("串口:%1 已断开").arg(port));
    EXPECT_TRUE(window.Reconnecting());

    ASSERT_TRUE(test::WaitUntil([&] { return window.Link().IsOpen(); }, 10000));
    EXPECT_FALSE(window.Reconnecting());
    test::QueryShowsTheFactorySet(window);
    EXPECT_TRUE(recorder.messages.empty());
}
