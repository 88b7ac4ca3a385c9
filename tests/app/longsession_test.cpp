// A long day with a real reader: the adapter pulled and plugged back in,
// the options kept in set.ini, bounded logs, the record on disk.
#include "app/mainwindow.h"
#include "tests/support/window.h"
#include "tests/support/controls.h"
#include "panel/logview.h"
#include "panel/parampanel.h"
#include "app/readerconsole.h"
#include "panel/trafficmonitor.h"
#include "settings/portsettings.h"
#include "settings/tooloptions.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/qtwait.h"
#include "tests/support/readersim.h"
#include "tests/support/filetargets.h"
#include "tests/support/files.h"
#include "tests/support/tempdir.h"

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <thread>

using namespace rovi;
using namespace rovi::test;

namespace {

class SessionFixture : public testing::Test {
protected:
    // The reader behind a stable name, as /dev/serial/by-id gives one.
    std::string Link() const { return (dir.Path() / "reader").string(); }
    std::unique_ptr<ReaderSim> Plug() { return std::make_unique<ReaderSim>(QStringList{"--link", QString::fromStdString(Link())}); }
    void Open(MainWindow &window)
    {
        window.show();
        test::UsePort(window, Link());
        window.OpenPort();
        ASSERT_TRUE(window.Link().IsOpen());
    }
    QString Summary() const { return QString::fromStdString("串口:" + Link() + " 波特率:9600 无校验 数据位：8 停止位：1"); }

    TempDir dir;
    MessageRecorder recorder;
};

} // namespace

TEST_F(SessionFixture, AnUnpluggedReaderIsReopenedWhenItComesBack)
{
    auto reader = Plug();
    MainWindow window;
    Open(window);
    EXPECT_EQ(window.StatusText(), Summary());

    reader.reset(); // pulled out
    ASSERT_TRUE(WaitUntil([&] { return !window.Link().IsOpen(); }));
    EXPECT_EQ(window.StatusText(), QString::fromStdString("串口:" + Link() + " 已断开"));
    EXPECT_TRUE(window.Reconnecting());

    reader = Plug(); // back, on a new terminal behind the same name
    ASSERT_TRUE(WaitUntil([&] { return window.Link().IsOpen(); }));
    EXPECT_EQ(window.StatusText(), Summary());
    EXPECT_FALSE(window.Reconnecting());
    test::PanelControls(&window).queryButton->click();
    ASSERT_TRUE(WaitUntil([&] { return !test::PanelControls(&window).Mirror(Field::id_addr)->text().isEmpty(); }));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(SessionFixture, AReplugWhileAReplyIsAwaitedEndsInTheTimeOutThenWorks)
{
    auto reader = Plug();
    MainWindow window;
    Open(window);
    reader->Command("late 2000\n");
    test::PanelControls(&window).queryButton->click(); // the reply would come after the reader is gone
    reader.reset();
    reader = Plug();
    ASSERT_TRUE(WaitUntil([&] { return recorder.messages.size() == 1; }));
    EXPECT_EQ(recorder.messages[0].text, "发送失败");
    ASSERT_TRUE(WaitUntil([&] { return window.Link().IsOpen(); }));
    test::PanelControls(&window).queryButton->click();
    ASSERT_TRUE(WaitUntil([&] { return test::PanelControls(&window).Mirror(Field::id_addr)->text() == "01"; }));
    Pump(1300); // past the time-out: the reply disarmed it
    EXPECT_EQ(recorder.messages.size(), 1u);
}

// The reader is pulled out while the window is busy: its hang-up is queued
// but not yet handled when the user acts. It belongs to the open that is gone.
void LetTheHangupQueueUp(const SerialLink &link)
{
    // The reader thread posts it as the line goes away; the event loop does
    // not run meanwhile, so it stays queued.
    ASSERT_TRUE(WaitWithoutEvents([&] { return link.LineGone(); }));
}

TEST_F(SessionFixture, AHangupQueuedBeforeAnOpenDoesNotCloseTheNewPort)
{
    auto reader = Plug();
    // A second reader, started now: starting one runs the event loop.
    const std::string other_link = (dir.Path() / "other-reader").string();
    ReaderSim other(QStringList{"--link", QString::fromStdString(other_link)});
    MainWindow window;
    Open(window);
    window.SetReconnect(false); // a wrongly closed port would stay closed
    reader.reset();
    LetTheHangupQueueUp(window.Link());
    test::UsePort(window, other_link);
    test::MenuAction(window, "openPortAction")->trigger(); // 打开COM口
    Pump(500);
    EXPECT_TRUE(window.Link().IsOpen());
    EXPECT_EQ(window.StatusText(),
              QString::fromStdString("串口:" + other_link + " 波特率:9600 无校验 数据位：8 停止位：1"));
}

TEST_F(SessionFixture, AHangupQueuedBeforeACloseStartsNoReconnecting)
{
    auto reader = Plug();
    MainWindow window;
    Open(window);
    reader.reset();
    LetTheHangupQueueUp(window.Link());
    test::MenuAction(window, "closePortAction")->trigger(); // 关闭COM口
    Pump(500);
    EXPECT_FALSE(window.Reconnecting());
    reader = Plug();
    Pump(1000); // three checks' worth
    EXPECT_FALSE(window.Link().IsOpen());
}

TEST_F(SessionFixture, ClosingByHandOrSwitchingItOffStopsReconnecting)
{
    auto reader = Plug();
    MainWindow window;
    Open(window);
    reader.reset();
    ASSERT_TRUE(WaitUntil([&] { return window.Reconnecting(); }));
    test::MenuAction(window, "closePortAction")->trigger(); // 关闭COM口
    EXPECT_FALSE(window.Reconnecting());
    reader = Plug();
    Pump(1000); // three checks' worth
    EXPECT_FALSE(window.Link().IsOpen());

    window.OpenPort();
    ASSERT_TRUE(window.Link().IsOpen());
    test::MenuAction(window, "reconnectAction")->trigger(); // off, and stored
    EXPECT_FALSE(settings::LoadStoredSettings(settings::kIniPath).options.reconnect);
    reader.reset();
    ASSERT_TRUE(WaitUntil([&] { return !window.Link().IsOpen(); }));
    EXPECT_FALSE(window.Reconnecting());
}

TEST_F(SessionFixture, OptionsComeFromSetIniAndTheLogsKeepTheirBound)
{
    settings::WriteIniValue(settings::kIniPath, ".\\set.ini", settings::kSection, settings::kKeyLogLines, "150");
    settings::SaveToolSwitch(settings::kIniPath, settings::kKeyReconnect, false);
    settings::SaveToolSwitch(settings::kIniPath, settings::kKeyTimestamps, true);
    MainWindow window;
    window.show();
    EXPECT_FALSE(test::MenuAction(window, "reconnectAction")->isChecked());
    EXPECT_TRUE(test::MenuAction(window, "timestampsAction")->isChecked());
    EXPECT_FALSE(test::MenuAction(window, "logFileAction")->isChecked());
    panel::TrafficMonitor &m = window.Monitor();
    test::MonitorControls mc{&window};
    EXPECT_EQ(m.LineLimit(), 150);
    const auto now = std::chrono::system_clock::now();
    for (int i = 0; i < 200; ++i)
        m.Log({now, TrafficDirection::Received, std::to_string(i), std::to_string(i)});
    EXPECT_EQ(mc.hexLog->LineCount(), 150);
    EXPECT_EQ(mc.textLog->Lines().front(), "50"); // the oldest left first
    EXPECT_EQ(mc.textLog->Lines().back(), "199");
    EXPECT_TRUE(QRegularExpression(R"(^\[\d\d:\d\d:\d\d\.\d\d\d\] 收 199$)").match(mc.hexLog->Lines().back()).hasMatch())
        << mc.hexLog->Lines().back().toStdString();
    test::MenuAction(window, "timestampsAction")->trigger(); // off: the lines are the plain ones again
    m.Log({now, TrafficDirection::Received, "FE", ""});
    EXPECT_EQ(mc.hexLog->Lines().back(), "FE");
    for (int i = 0; i < 5; ++i)
        m.CountCard();
    EXPECT_EQ(mc.receiveCounter->text(), "1"); // the first at once, the burst at the period's end
    // The logs' bound does not touch the counter.
    EXPECT_TRUE(test::WaitUntil([&] { return mc.receiveCounter->text() == "5"; }, 2000))
        << mc.receiveCounter->text().toStdString();
    m.CountCard();
    m.CountCard();
    mc.clearButton->click();
    EXPECT_EQ(mc.hexLog->LineCount(), 0);
    EXPECT_EQ(mc.textLog->LineCount(), 0);
    EXPECT_EQ(mc.receiveCounter->text(), "0");
    test::Pump(300); // a count still due from before 清零 does not come back
    EXPECT_EQ(mc.receiveCounter->text(), "0");
    // With an accessibility client the text is the count at every moment.
    QAccessible::setActive(true);
    for (int i = 1; i <= 3; ++i) {
        m.CountCard();
        EXPECT_EQ(mc.receiveCounter->text(), QString::number(i));
    }
    QAccessible::setActive(false);
}

TEST_F(SessionFixture, TheRecordFileHoldsEveryChunkSentAndReceived)
{
    auto reader = Plug();
    MainWindow window;
    Open(window);
    test::MenuAction(window, "logFileAction")->trigger(); // on, and stored
    EXPECT_TRUE(settings::LoadStoredSettings(settings::kIniPath).options.log_to_file);
    test::PanelControls(&window).queryButton->click();
    ASSERT_TRUE(WaitUntil([&] { return !test::PanelControls(&window).Mirror(Field::id_addr)->text().isEmpty(); }));
    test::MonitorControls(&window).rawHexInput->setText("30 31");
    test::MonitorControls(&window).sendRawButton->click(); // a raw send: not in the view, but in the file
    Pump(300);
    window.Console().FlushLogFile();
    // The files of every day the run saw (a run across midnight has two).
    const std::string recorded = ReadAllMatching(dir.Path(), R"(rovi-\d{4}-\d\d-\d\d\.log)");
    std::istringstream lines(recorded);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);)
        got.push_back(line.substr(line.find('\t') + 1)); // past the time
    ASSERT_EQ(got.size(), 3u) << recorded; // each line once
    EXPECT_EQ(got[0], "TX\tFE F1 00 00 00 00 00 00 00 00 00 FF\t");
    EXPECT_EQ(got[1], "RX\tFE F1 00 01 41 01 04 20 03 05 6F FF\tA"); // 0x41 is the digit A
    EXPECT_EQ(got[2], "TX\t30 31\t01");
    EXPECT_TRUE(QRegularExpression(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d\d\d\t)")
                    .match(QString::fromStdString(recorded)).hasMatch());
}

TEST_F(SessionFixture, SaveLogWritesBothLogsLineByLine)
{
    MainWindow window;
    window.show();
    const auto now = std::chrono::system_clock::now();
    window.Monitor().Log(ChunkLine(now, TrafficDirection::Received, std::string("\xFE\xF1\x00\xFF\x31", 5)));
    window.Monitor().Log(ChunkLine(now, TrafficDirection::Received, "\r\n"));
    const QString path = QString::fromStdString((dir.Path() / "saved.txt").string());
    ASSERT_TRUE(window.SaveLogTo(path));
    EXPECT_EQ(ReadAll(path.toStdString()), "FE F1 00 FF 31\t1\n0D 0A\t\n");
    EXPECT_FALSE(window.SaveLogTo(QString::fromStdString((dir.Path() / "no-folder" / "x.txt").string())));
}

// A chosen name that is not a plain file: refused with the reason; what
// stands there stays what it is, another user's file as it was.
TEST_F(SessionFixture, SaveLogRefusesWhatIsNotAPlainFile)
{
    MainWindow window;
    window.Monitor().Log(ChunkLine(std::chrono::system_clock::now(), TrafficDirection::Received, "\xFE"));
    const std::filesystem::path other = dir.Path() / "someone-elses";
    std::ofstream(other) << "theirs\n";
    for (const NotAPlainFile &target : NotPlainFiles()) {
        SCOPED_TRACE(target.name);
        const std::filesystem::path path = dir.Path() / (std::string(target.name) + ".txt");
        if (!target.make(path, other))
            continue; // not here (a device node needs root)
        const auto kind = std::filesystem::symlink_status(path).type();
        QString why;
        EXPECT_FALSE(window.SaveLogTo(QString::fromStdString(path.string()), &why));
        EXPECT_TRUE(why.contains(QString::fromUtf8(target.words))) << why.toStdString();
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), kind);
    }
    EXPECT_EQ(ReadAll(other.string()), "theirs\n");
}
