// The tool's window on the simulated reader's COM port, as an installer
// meets it: set.ini names the port with auto-connect on, then 查看参数.
#include "comport.h"

#include "app/utool.h"
#include "panel/parampanel.h"
#include "panel/trafficmonitor.h"
#include "settings/portsettings.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/qtwait.h"
#include "tests/support/tempdir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace rovi;

TEST(ComPortWindow, QueryFillsThePanelFromTheReader)
{
    test::TempDir dir;
    test::MessageRecorder recorder;
    settings::PortSettings s;
    s.com_port = test::TestComPort();
    settings::SavePortSettings(settings::kIniPath, s, true);

    TFtool window;
    window.show();
    ASSERT_TRUE(window.Comm().IsOpen());
    EXPECT_EQ(window.Comm().CommName(), test::TestComPort());
    window.Panel()->Button1->click();
    ASSERT_TRUE(test::WaitUntil([&] { return !window.Panel()->Edit_data2->text().isEmpty(); }));
    QStringList mirrors;
    for (auto *m : window.Panel()->Mirrors())
        mirrors << m->text();
    EXPECT_EQ(mirrors.join(' '), "00 01 41 01 04 20 03 05");
    EXPECT_TRUE(window.Panel()->RadioButton2->isChecked());
    EXPECT_EQ(window.Monitor().Edit3->text(), "1");
    window.close();
    EXPECT_FALSE(window.Comm().IsOpen());
    EXPECT_TRUE(recorder.messages.empty());
}
