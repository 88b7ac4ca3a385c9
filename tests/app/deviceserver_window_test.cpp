// The window with its port on a serial device server: rfc2217:// to the
// simulated reader behind ser2net, from set.ini as typed.
#include "app/mainwindow.h"
#include "tests/support/window.h"
#include "app/readersearchdialog.h"
#include "settings/portsettings.h"
#include "tests/support/controls.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/qtwait.h"
#include "tests/support/readersim.h"
#include "tests/support/ser2net.h"
#include "tests/support/tempdir.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace rovi;

namespace {

QString Mirrors(MainWindow &window)
{
    QStringList texts;
    const test::PanelControls panel(&window);
    for (auto *m : panel.Mirrors())
        texts << m->text();
    return texts.join(' ');
}

// set.ini naming the server as typed, with auto-connect on.
void ConnectAtStart(const test::Ser2Net &server)
{
    settings::PortSettings s;
    s.port = server.Url();
    settings::SavePortSettings(settings::kIniPath, s, true);
}

// 查看参数, and the mirrors once the report is in.
QString Query(MainWindow &window)
{
    const test::PanelControls panel(&window);
    panel.Mirror(Field::id_addr)->clear();
    panel.queryButton->click();
    EXPECT_TRUE(test::WaitUntil([&] { return !panel.Mirror(Field::id_addr)->text().isEmpty(); }));
    return Mirrors(window);
}

} // namespace

TEST(DeviceServerWindow, QueriesAReaderBehindRfc2217AndFollowsItsNewRate)
{
    test::TempDir dir;
    test::MessageRecorder recorder;
    test::ReaderSim sim;
    // The server's line starts at 19200: only the rate the window sends makes it 9600.
    test::Ser2Net server(sim.Path(), test::Ser2Net::Mode::Rfc2217, 19200);
    ConnectAtStart(server);
    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Link().IsOpen()) << recorder.Texts().join('\n').toStdString();
    EXPECT_TRUE(window.StatusText().contains(QString::fromStdString(server.Url())));

    EXPECT_EQ(Query(window), "00 01 41 01 04 20 03 05");

    // The reader to 19200 through the panel, then the port to 19200 as the
    // port settings dialog would: the server's line follows.
    const test::PanelControls panel(&window);
    panel.Mirror(Field::baud)->setText("05");
    panel.SetButton(Field::baud)->click();
    ASSERT_TRUE(test::WaitUntil([&] { return !recorder.messages.empty(); }));
    EXPECT_EQ(recorder.messages[0].text, "设置成功");
    test::ChangePortSettings(window, [](settings::PortSettings &s) { s.baud = "19200"; });
    window.OpenPort();
    ASSERT_TRUE(window.Link().IsOpen());
    EXPECT_EQ(Query(window), "00 01 41 01 05 20 03 05");
    EXPECT_EQ(recorder.messages.size(), 1u) << recorder.Texts().join('\n').toStdString();
}

TEST(DeviceServerWindow, AServerThatStopsIsADisconnectAndTheWindowReconnectsWhenItIsBack)
{
    test::TempDir dir;
    test::MessageRecorder recorder;
    test::ReaderSim sim;
    test::Ser2Net server(sim.Path(), test::Ser2Net::Mode::Raw, 9600);
    ConnectAtStart(server);
    MainWindow window;
    window.show();
    ASSERT_TRUE(window.Link().IsOpen());
    ASSERT_TRUE(test::MenuAction(window, "reconnectAction")->isChecked());
    server.Stop();
    ASSERT_TRUE(test::WaitUntil([&] { return !window.Link().IsOpen(); }, 5000));
    EXPECT_TRUE(window.StatusText().contains("已断开")) << window.StatusText().toStdString();
    server.Start();
    ASSERT_TRUE(test::WaitUntil([&] { return window.Link().IsOpen(); }, 8000)) << window.StatusText().toStdString();
    EXPECT_EQ(Query(window), "00 01 41 01 04 20 03 05");
    EXPECT_TRUE(recorder.messages.empty()) << recorder.Texts().join('\n').toStdString();
}

// 搜索读卡器… with a device server in the port settings: listed, ticked,
// searched rate after rate through RFC 2217, and put to use.
TEST(DeviceServerWindow, TheSearchFindsTheReaderBehindTheServerInTheSettings)
{
    test::TempDir dir;
    test::MessageRecorder recorder;
    test::ReaderSim sim({"--baud", "38400"});
    test::Ser2Net server(sim.Path(), test::Ser2Net::Mode::Rfc2217, 9600);
    ReaderSearchDialog::SetPortLister([] { return std::vector<PortEntry>{}; });
    MainWindow window;
    test::UsePort(window, server.Url()); // typed in COM设置, not opened
    ReaderSearchDialog dialog(&window, {}, 9600, QString::fromStdString(server.Url()));
    QObject::connect(&dialog, &ReaderSearchDialog::useReader, &window,
                     [&](const QString &port, int rate, const Frame &report) { window.UseFoundReader(port.toStdString(), rate, report); });
    auto *ports = dialog.findChild<QListWidget *>("searchPorts");
    ASSERT_EQ(ports->count(), 1);
    EXPECT_EQ(ports->item(0)->checkState(), Qt::Checked);
    dialog.StartSearch();
    ASSERT_TRUE(test::WaitUntil([&] { return !dialog.Searching(); }, 15000));
    ASSERT_EQ(dialog.Found(), 1) << sim.Log();
    auto *answers = dialog.findChild<QTableWidget *>("searchAnswers");
    EXPECT_EQ(answers->item(0, 0)->text().toStdString(), server.Url());
    EXPECT_EQ(answers->item(0, 1)->text(), "38400");
    dialog.findChild<QPushButton *>("useReaderButton")->click();
    EXPECT_TRUE(window.Link().IsOpen());
    EXPECT_TRUE(window.Link().IsNetwork());
    EXPECT_EQ(window.Link().Line().baudRate, 38400u);
    EXPECT_EQ(settings::LoadPortSettings(settings::kIniPath).port, server.Url());
    EXPECT_TRUE(recorder.messages.empty()) << recorder.Texts().join('\n').toStdString();
    window.ClosePort();
    ReaderSearchDialog::SetPortLister(nullptr);
}
