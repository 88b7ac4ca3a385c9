// The panel's commands and reply handling end to end: real widgets
// (offscreen), the real serial link, and the test playing the reader
// on the master side of a pseudo-terminal.
#include "app/mainwindow.h"
#include "tests/support/controls.h"
#include "tests/support/tempdir.h"
#include "panel/parampanel.h"
#include "app/readerconsole.h"
#include "panel/logview.h"
#include "panel/trafficmonitor.h"
#include "protocol/hexstr.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/pty.h"
#include "tests/support/qtwait.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QSet>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using namespace rovi;
using namespace rovi::panel;
using namespace rovi::test;
using namespace std::string_literals;

namespace {

class ConsoleFixture : public testing::Test {
protected:
    void SetUp() override
    {
        window.Link().SetPortName(pty.SlavePath());
        window.Link().StartPort();
    }
    void TearDown() override { window.Link().StopPort(); }

    QString LastLine(LogView *log) const
    {
        const QStringList lines = log->Lines();
        return lines.isEmpty() ? QString() : lines.back();
    }
    int Lines(LogView *log) const { return log->LineCount(); }

    // Plays the reader: sends the bytes and waits until the tool has logged them.
    void Reply(const std::string &bytes)
    {
        const int before = log_lines();
        pty.Write(bytes);
        ASSERT_TRUE(WaitUntil([&] { return log_lines() > before; }));
    }
    int log_lines() const { return Lines(mc.hexLog); }

    Pty pty;
    MessageRecorder recorder;
    MainWindow window;
    ParamPanel &p = *window.Panel();
    test::PanelControls c{&window};
    TrafficMonitor &m = window.Monitor();
    test::MonitorControls mc{&window};
    ReaderConsole &console = window.Console();
    QTimer *replyTimer = window.findChild<QTimer *>("replyTimer");
};

} // namespace

TEST_F(ConsoleFixture, QueryRightAfterStartSendsLogsAndArmsTheTimeOut)
{
    c.Mirror(Field::wiegand)->setText("41");
    c.queryButton->click();
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 00 00 00 00 00 00 00 00 00 FF");
    EXPECT_TRUE(c.Mirror(Field::wiegand)->text().isEmpty()); // mirrors emptied first
    EXPECT_EQ(mc.hexLog->toPlainText(), "FE F1 00 00 00 00 00 00 00 00 00 FF");
    EXPECT_TRUE(replyTimer->isActive());
    c.Mirror(Field::wiegand)->setText("42");
    c.SetButton(Field::wiegand)->click();
    EXPECT_EQ(mc.textLog->toPlainText(), "\nBB"); // the query's text line is an empty line

}

TEST_F(ConsoleFixture, EachSetButtonSendsItsGroupsFrame)
{
    c.SetButton(Field::id_addr)->click(); // mirror empty, idAddress holding 1
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 00 01 00 00 00 00 00 00 01 FF");
    c.wiegandOutput->click();
    c.wiegandFormat->setCurrentIndex(1);
    c.Mirror(Field::wiegand)->setText("42");
    c.SetButton(Field::wiegand)->click();
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 00 00 42 00 00 00 00 00 42 FF");
    EXPECT_EQ(LastLine(mc.textLog), "BB");
    c.continuousReread->setChecked(true);
    c.rereadTime->setText("10");
    c.SetButton(Field::reread)->click();
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 00 00 00 00 00 00 8A 00 8A FF");
    c.factoryResetButton->click();
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 80 00 00 00 00 00 00 00 80 FF");
    c.setAllButton->click();
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 00 00 42 00 00 00 8A 00 CC FF");
}

TEST_F(ConsoleFixture, EmptyMirrorOrBadHexSendsLogsAndArmsNothing)
{
    c.SetButton(Field::ctrl)->click();
    c.Mirror(Field::id_addr)->setText("G1");
    c.SetButton(Field::id_addr)->click();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "'$G1' is not a valid integer value.");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(pty.Read(1, 300), "");
    EXPECT_EQ(Lines(mc.hexLog), 0);
    EXPECT_FALSE(replyTimer->isActive());
}

TEST_F(ConsoleFixture, AReportRewritesThePanel)
{
    Reply("\xFE\xF1\x00\x05\x42\x01\x04\x20\x03\x45\xB4\xFF"s);
    EXPECT_EQ(c.idAddress->text(), "5");
    EXPECT_TRUE(c.wiegandOutput->isChecked());
    EXPECT_EQ(c.wiegandFormat->currentText(), "韦根34");
    EXPECT_EQ(c.serialFormat->currentText(), "标准格式");
    EXPECT_EQ(c.baudRate->currentText(), "9600");
    EXPECT_TRUE(c.softwarePower->isChecked());
    EXPECT_EQ(c.powerLevel->currentText(), "1");
    EXPECT_FALSE(c.continuousReread->isChecked());
    EXPECT_EQ(c.continuousReread->text(), "连续重读");
    EXPECT_EQ(c.rereadUnit->currentText(), "秒");
    EXPECT_EQ(c.rereadTime->text(), "3");
    EXPECT_EQ(c.sendTimeUnit->currentText(), "秒");
    EXPECT_EQ(c.sendTime->text(), "5");
    QStringList mirrors;
    for (RuleEdit *e : c.Mirrors())
        mirrors << e->text();
    EXPECT_EQ(mirrors.join(' '), "00 05 42 01 04 20 03 45");
    EXPECT_EQ(LastLine(mc.textLog), "BE");
    EXPECT_EQ(mc.receiveCounter->text(), "1");
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ConsoleFixture, AReportWithABadChecksumIsOnlyLogged)
{
    Reply("\xFE\xF1\x00\x05\x42\x01\x04\x20\x03\x45\xB5\xFF"s);
    EXPECT_EQ(LastLine(mc.hexLog), "FE F1 00 05 42 01 04 20 03 45 B5 FF");
    EXPECT_EQ(c.idAddress->text(), "1");
    EXPECT_TRUE(c.dipSwitchControl->isChecked());
    EXPECT_TRUE(c.Mirror(Field::id_addr)->text().isEmpty());
}

TEST_F(ConsoleFixture, AcknowledgementsRaiseTheirMessages)
{
    Reply("\x00\x00\x00\x00"s);
    Reply("\x00\x00\x01\x00"s);
    EXPECT_EQ(recorder.Texts(), (QStringList{"设置成功", "设置失败"}));
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(recorder.messages[0].title, "ROVI-2.4Didodezi");
    EXPECT_EQ(mc.receiveCounter->text(), "0"); // no byte is an ASCII hex digit
}

TEST_F(ConsoleFixture, TheTimeOutRunsFromTheFirstOfTwoPresses)
{
    c.queryButton->click();
    Pump(700);
    c.queryButton->click(); // does not restart the armed second
    EXPECT_LT(replyTimer->remainingTime(), 800);
    ASSERT_TRUE(WaitUntil([&] { return !recorder.messages.empty(); }));
    Pump(1300);
    EXPECT_EQ(recorder.Texts(), QStringList{"发送失败"});
}

TEST_F(ConsoleFixture, AnyChunkDisarmsTheTimeOut)
{
    c.queryButton->click();
    Reply("0123\r\n");
    EXPECT_FALSE(replyTimer->isActive());
    Pump(1200);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ConsoleFixture, CardNumbersAndOtherChunks)
{
    Reply("0123\r\n");
    EXPECT_EQ(LastLine(mc.hexLog), "30 31 32 33 0D 0A");
    EXPECT_EQ(LastLine(mc.textLog), "0123");
    EXPECT_EQ(mc.receiveCounter->text(), "1");
    Reply("\x01\x02\xFE"s); // no hex-digit byte: logged, not counted
    EXPECT_EQ(LastLine(mc.hexLog), "01 02 FE");
    EXPECT_EQ(LastLine(mc.textLog), "");
    EXPECT_EQ(mc.receiveCounter->text(), "1");
    mc.clearButton->click();
    EXPECT_EQ(mc.receiveCounter->text(), "0");
    EXPECT_EQ(Lines(mc.hexLog), 0);
    EXPECT_EQ(Lines(mc.textLog), 0);
}

TEST_F(ConsoleFixture, AReplySplitInTwoChunksIsNeitherReportNorAcknowledgement)
{
    const std::string report = "\xFE\xF1\x00\x05\x42\x01\x04\x20\x03\x45\xB4\xFF"s;
    Reply(report.substr(0, 6));
    Pump(300);
    Reply(report.substr(6));
    EXPECT_EQ(Lines(mc.hexLog), 2);
    EXPECT_EQ(c.idAddress->text(), "1");
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ConsoleFixture, AFullChunkOf4096BytesIsLoggedWhole)
{
    std::string chunk(4096, '\0');
    for (std::size_t i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<char>('0' + i % 10);
    Reply(chunk);
    Pump(300);
    QString hex;
    for (std::size_t i = 0; i < chunk.size(); ++i)
        hex += (i == 0 ? QString() : QStringLiteral(" ")) + QStringLiteral("3%1").arg(i % 10);
    EXPECT_EQ(LastLine(mc.hexLog), hex);
    EXPECT_EQ(LastLine(mc.textLog), QString::fromStdString(chunk));
}

TEST_F(ConsoleFixture, ARawSendLongerThanOneRequestArrivesWhole)
{
    std::string bytes(70000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 13);
    mc.rawHexInput->setText(QString::fromStdString(HexLine(bytes)));
    mc.sendRawButton->click();
    const std::string got = pty.Read(bytes.size());
    ASSERT_EQ(got.size(), bytes.size());
    EXPECT_TRUE(got == bytes) << "bytes lost or reordered";
    EXPECT_EQ(Lines(mc.hexLog), 0); // a raw send is not logged
    EXPECT_TRUE(replyTimer->isActive());
}

TEST_F(ConsoleFixture, ABlankRawLineDoesNothing)
{
    mc.rawHexInput->setText(" \t ");
    mc.sendRawButton->click();
    EXPECT_FALSE(replyTimer->isActive());
    mc.rawHexInput->setText("zz"); // no hex digit: nothing is queued, the time-out still arms
    mc.sendRawButton->click();
    EXPECT_TRUE(replyTimer->isActive());
    EXPECT_EQ(pty.Read(1, 200), "");
}

TEST_F(ConsoleFixture, SendingWithThePortClosedTimesOut)
{
    window.Link().StopPort();
    c.factoryResetButton->click();
    EXPECT_EQ(Lines(mc.hexLog), 1);
    ASSERT_TRUE(WaitUntil([&] { return !recorder.messages.empty(); }, 3000));
    EXPECT_EQ(recorder.Texts(), QStringList{"发送失败"});
}

// A line that keeps sending lone acknowledgements: each comes while the box
// of the ones before is open. One box stays on screen and shows the latest;
// every chunk is logged.
TEST_F(ConsoleFixture, AcknowledgementsWhileTheirBoxIsOpenUpdateItInsteadOfNesting)
{
    SetMessagePresenter(nullptr); // real modal boxes
    constexpr int kMore = 500;
    int delivered = 0;
    QSet<QMessageBox *> boxes;
    // The feeder and the closer are two timers: a second box, were one
    // opened, would be seen and closed too.
    QTimer feeder, closer;
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() == nullptr || delivered >= kMore)
            return;
        ++delivered;
        const std::string ack = delivered == kMore ? "\x00\x00\x01\x00"s : "\x00\x00\x00\x00"s;
        console.HandleChunk(QByteArray(ack.data(), 4));
    });
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QList<QMessageBox *> open;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
                open << box;
        for (QMessageBox *box : open)
            boxes.insert(box);
        if (open.size() > 1)
            delivered = kMore; // nested: stop feeding and close them all
        if (open.isEmpty() || delivered < kMore)
            return;
        if (boxes.size() == 1) {
            EXPECT_EQ(open[0]->text(), "设置失败"); // the latest acknowledgement
            EXPECT_EQ(open[0]->windowTitle(), "ROVI-2.4Didodezi");
            EXPECT_EQ(open[0]->icon(), QMessageBox::Warning);
        }
        for (QMessageBox *box : open)
            box->accept();
    });
    closer.start(5);
    feeder.start(0);
    pty.Write("\x00\x00\x00\x00"s);
    ASSERT_TRUE(WaitUntil([&] { return delivered == kMore && QApplication::activeModalWidget() == nullptr; }, 20000));
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_EQ(Lines(mc.hexLog), kMore + 1);
    EXPECT_EQ(Lines(mc.textLog), kMore + 1);
    // Once it is closed, the next acknowledgement opens a box again.
    SetMessagePresenter([&](const MessageRequest &r) { recorder.messages.push_back(r); });
    const std::string ack = "\x00\x00\x00\x00"s;
    console.HandleChunk(QByteArray(ack.data(), 4));
    EXPECT_EQ(recorder.Texts(), QStringList{"设置成功"});
}

// A failure stays in view: a success that comes while its box is open does
// not take its place; the box says that more replies came.
TEST_F(ConsoleFixture, AFailureIsNotHiddenByALaterSuccess)
{
    SetMessagePresenter(nullptr); // the real box
    QString shown;
    int step = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (step == 0) {
            const std::string success = "\x00\x00\x00\x00"s;
            console.HandleChunk(QByteArray(success.data(), 4)); // while the failure's box is open
            ++step;
            return;
        }
        shown = box->text();
        box->accept();
        driver.stop();
    });
    driver.start(5);
    pty.Write("\x00\x00\x01\x00"s);
    ASSERT_TRUE(WaitUntil([&] { return !driver.isActive(); }, 5000));
    EXPECT_EQ(shown, "设置失败\n" + MessageSlot::LaterLine(1));
    EXPECT_EQ(MessageSlot::LaterLine(1), "（之后又收到 1 条回复）");
    EXPECT_EQ(Lines(mc.hexLog), 2);
    SetMessagePresenter([&](const MessageRequest &r) { recorder.messages.push_back(r); });
}

// A reader at another baud rate: framing errors with every garbled chunk.
// The logs get one line for the burst, the status bar a hint; the counter
// counts nothing for it.
TEST_F(ConsoleFixture, LineErrorsShowOnceABurstInTheLogsAndAsAHint)
{
    window.SetStatusText("串口:X");
    for (int i = 0; i < 3; ++i)
        emit window.Link().lineError(LineError::Framing);
    EXPECT_EQ(mc.hexLog->Lines(), QStringList{"[线路错误: 帧错误]"});
    EXPECT_EQ(mc.textLog->Lines(), QStringList{"[线路错误: 帧错误]"});
    EXPECT_EQ(mc.receiveCounter->text(), "0");
    EXPECT_EQ(window.StatusText(), "串口:X　帧错误：波特率或格式可能不对");
    emit window.Link().modemChanged(ModemChange::CarrierDetect);
    EXPECT_EQ(mc.hexLog->Lines().back(), "[载波检测变化]");
    EXPECT_EQ(mc.receiveCounter->text(), "0");
    EXPECT_TRUE(recorder.messages.empty());
}

// With time stamps on, each hex-log line says whether it was sent (发) or
// received (收); without them the lines are the bytes alone.
TEST_F(ConsoleFixture, TimeStampedLinesSayTheirDirection)
{
    window.Monitor().SetTimestamps(true);
    c.queryButton->click();
    const QRegularExpression sent(R"(^\[\d\d:\d\d:\d\d\.\d\d\d\] 发 FE F1 00 00 00 00 00 00 00 00 00 FF$)");
    EXPECT_TRUE(sent.match(LastLine(mc.hexLog)).hasMatch()) << LastLine(mc.hexLog).toStdString();
    Reply("\x00\x00\x00\x00"s);
    const QRegularExpression received(R"(^\[\d\d:\d\d:\d\d\.\d\d\d\] 收 00 00 00 00$)");
    EXPECT_TRUE(received.match(LastLine(mc.hexLog)).hasMatch()) << LastLine(mc.hexLog).toStdString();
    EXPECT_EQ(LastLine(mc.textLog), "");
    window.Monitor().SetTimestamps(false);
    Reply("\x00\x00\x00\x00"s);
    EXPECT_EQ(LastLine(mc.hexLog), "00 00 00 00");
}

// A record file that cannot be written is said once, not at every flush;
// once it has been written again, the next failure is said again.
TEST_F(ConsoleFixture, ARecordFileThatCannotBeWrittenIsSaidOncePerSpell)
{
    test::TempDir dir;
    const std::filesystem::path folder = dir.Path() / "records";
    console.SetLogFolder(folder.string()); // not there yet
    c.queryButton->click();
    console.FlushLogFile();
    console.FlushLogFile();
    console.FlushLogFile();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_TRUE(recorder.messages[0].text.startsWith("无法写入记录文件 ")) << recorder.messages[0].text.toStdString();
    std::filesystem::create_directory(folder);
    console.FlushLogFile(); // written now
    EXPECT_EQ(recorder.messages.size(), 1u);
    std::filesystem::remove_all(folder);
    c.queryButton->click();
    console.FlushLogFile();
    console.FlushLogFile();
    EXPECT_EQ(recorder.messages.size(), 2u);
    console.SetLogFolder({});
}
