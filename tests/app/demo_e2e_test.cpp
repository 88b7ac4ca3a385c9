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

#include <gtest/gtest.h>

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
