// The tool's window on the simulated reader's COM port, as an installer
// meets it: set.ini names the port with auto-connect on, then 查看参数.
#include "comport.h"
#include "tests/support/window.h"

#include "app/batchsetupdialog.h"
#include "app/mainwindow.h"
#include "serial/portinfo.h"
#include "settings/portsettings.h"
#include "tests/support/factoryquery.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/qtwait.h"
#include "tests/support/tempdir.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

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

// 批量设置 on a COM port that never goes away: the next reader is
// announced with 下一台. Two readers, IDs 30 and 31, both in the record.
TEST(ComPortWindow, ABatchOnAPortThatStaysWithNext)
{
    test::RestoreFactorySet(test::TestComPort());
    test::TempDir dir;
    test::MessageRecorder recorder;
    MainWindow window;
    window.show();
    test::UsePort(window, test::TestComPort());
    window.ShowBatchSetup();
    BatchSetupDialog *batch = window.BatchSetup();
    ASSERT_NE(batch, nullptr);
    batch->findChild<QSpinBox *>("firstId")->setValue(30);
    batch->findChild<QSpinBox *>("readerCount")->setValue(2);
    batch->findChild<QLineEdit *>("recordPath")->setText("batch.csv");
    auto *table = batch->findChild<QTableWidget *>("batchTable");
    batch->findChild<QPushButton *>("startButton")->click();
    ASSERT_TRUE(test::WaitUntil([&] { return table->rowCount() == 1; }, 10000));
    batch->findChild<QPushButton *>("nextButton")->click();
    ASSERT_TRUE(test::WaitUntil([&] { return table->rowCount() == 2; }, 10000));
    ASSERT_TRUE(test::WaitUntil([&] { return !batch->Running(); }, 5000));
    EXPECT_EQ(table->item(0, 2)->text(), "30");
    EXPECT_EQ(table->item(1, 2)->text(), "31");
    EXPECT_EQ(table->item(1, 3)->text(), QString::fromUtf8("成功"));
    std::ifstream csv("batch.csv");
    std::stringstream text;
    text << csv.rdbuf();
    EXPECT_NE(text.str().find(",ok,\"00\",\"31\","), std::string::npos) << text.str();
    EXPECT_TRUE(recorder.messages.empty());
    test::RestoreFactorySet(test::TestComPort());
}
