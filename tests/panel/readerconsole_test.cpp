// The panel's commands and reply handling end to end: real widgets
// (offscreen), the real serial component, and the test playing the reader
// on the master side of a pseudo-terminal.
#include "app/utool.h"
#include "panel/parampanel.h"
#include "panel/readerconsole.h"
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
#include <QTimer>

#include <gtest/gtest.h>

using namespace rovi;
using namespace rovi::panel;
using namespace rovi::test;
using namespace std::string_literals;

namespace {

class ConsoleFixture : public testing::Test {
protected:
    void SetUp() override
    {
        window.Comm().SetCommName(pty.SlavePath());
        window.Comm().StartPort();
    }
    void TearDown() override { window.Comm().StopPort(); }

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
    int log_lines() const { return Lines(m.Memo1); }

    Pty pty;
    MessageRecorder recorder;
    TFtool window;
    ParamPanel &p = *window.Panel();
    TrafficMonitor &m = window.Monitor();
    ReaderConsole &console = window.Console();
};

} // namespace

TEST_F(ConsoleFixture, QueryRightAfterStartSendsLogsAndArmsTheTimeOut)
{
    p.Edit_data3->setText("41");
    p.Button1->click();
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 00 00 00 00 00 00 00 00 00 FF");
    EXPECT_TRUE(p.Edit_data3->text().isEmpty()); // mirrors emptied first
    EXPECT_EQ(m.Memo1->toPlainText(), "FE F1 00 00 00 00 00 00 00 00 00 FF");
    EXPECT_TRUE(console.Timer_wait->isActive());
    p.Edit_data3->setText("42");
    p.BitBtn_set3->click();
    EXPECT_EQ(m.Memo2->toPlainText(), "\nBB"); // the query's text line is an empty line

}

TEST_F(ConsoleFixture, EachSetButtonSendsItsGroupsFrame)
{
    p.BitBtn_set2->click(); // mirror empty, Edit_set2 holding 1
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 00 01 00 00 00 00 00 00 01 FF");
    p.RadioButton2->click();
    p.ComboBox_wg->setCurrentIndex(1);
    p.Edit_data3->setText("42");
    p.BitBtn_set3->click();
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 00 00 42 00 00 00 00 00 42 FF");
    EXPECT_EQ(LastLine(m.Memo2), "BB");
    p.CheckBox1->setChecked(true);
    p.edit4->setText("10");
    p.BitBtn_set7->click();
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 00 00 00 00 00 00 8A 00 8A FF");
    p.Button2->click();
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 80 00 00 00 00 00 00 00 80 FF");
    p.BitBtn1->click();
    EXPECT_EQ(HexLine(pty.Read(12)), "FE F1 00 00 42 00 00 00 8A 00 CC FF");
}

TEST_F(ConsoleFixture, EmptyMirrorOrBadHexSendsLogsAndArmsNothing)
{
    p.BitBtn_set1->click();
    p.Edit_data2->setText("G1");
    p.BitBtn_set2->click();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "'$G1' is not a valid integer value.");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(pty.Read(1, 300), "");
    EXPECT_EQ(Lines(m.Memo1), 0);
    EXPECT_FALSE(console.Timer_wait->isActive());
}

TEST_F(ConsoleFixture, AReportRewritesThePanel)
{
    Reply("\xFE\xF1\x00\x05\x42\x01\x04\x20\x03\x45\xB4\xFF"s);
    EXPECT_EQ(p.Edit_set2->text(), "5");
    EXPECT_TRUE(p.RadioButton2->isChecked());
    EXPECT_EQ(p.ComboBox_wg->currentText(), "韦根34");
    EXPECT_EQ(p.ComboBox3->currentText(), "标准格式");
    EXPECT_EQ(p.ComboBox_btl->currentText(), "9600");
    EXPECT_TRUE(p.RadioButton4->isChecked());
    EXPECT_EQ(p.ComboBox_gl->currentText(), "1");
    EXPECT_FALSE(p.CheckBox1->isChecked());
    EXPECT_EQ(p.CheckBox1->text(), "连续重读");
    EXPECT_EQ(p.ComboBox1->currentText(), "秒");
    EXPECT_EQ(p.edit4->text(), "3");
    EXPECT_EQ(p.ComboBox2->currentText(), "秒");
    EXPECT_EQ(p.Edit1->text(), "5");
    QStringList mirrors;
    for (RuleEdit *e : p.Mirrors())
        mirrors << e->text();
    EXPECT_EQ(mirrors.join(' '), "00 05 42 01 04 20 03 45");
    EXPECT_EQ(LastLine(m.Memo2), "BE");
    EXPECT_EQ(m.Edit3->text(), "1");
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ConsoleFixture, AReportWithABadChecksumIsOnlyLogged)
{
    Reply("\xFE\xF1\x00\x05\x42\x01\x04\x20\x03\x45\xB5\xFF"s);
    EXPECT_EQ(LastLine(m.Memo1), "FE F1 00 05 42 01 04 20 03 45 B5 FF");
    EXPECT_EQ(p.Edit_set2->text(), "1");
    EXPECT_TRUE(p.RadioButton1->isChecked());
    EXPECT_TRUE(p.Edit_data2->text().isEmpty());
}

TEST_F(ConsoleFixture, AcknowledgementsRaiseTheirMessages)
{
    Reply("\x00\x00\x00\x00"s);
    Reply("\x00\x00\x01\x00"s);
    EXPECT_EQ(recorder.Texts(), (QStringList{"设置成功", "设置失败"}));
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(recorder.messages[0].title, "ROVI-2.4Didodezi");
    EXPECT_EQ(m.Edit3->text(), "0"); // no byte is an ASCII hex digit
}

TEST_F(ConsoleFixture, TheTimeOutRunsFromTheFirstOfTwoPresses)
{
    p.Button1->click();
    Pump(700);
    p.Button1->click(); // does not restart the armed second
    EXPECT_LT(console.Timer_wait->remainingTime(), 800);
    ASSERT_TRUE(WaitUntil([&] { return !recorder.messages.empty(); }));
    Pump(1300);
    EXPECT_EQ(recorder.Texts(), QStringList{"发送失败"});
}

TEST_F(ConsoleFixture, AnyChunkDisarmsTheTimeOut)
{
    p.Button1->click();
    Reply("0123\r\n");
    EXPECT_FALSE(console.Timer_wait->isActive());
    Pump(1200);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ConsoleFixture, CardNumbersAndOtherChunks)
{
    Reply("0123\r\n");
    EXPECT_EQ(LastLine(m.Memo1), "30 31 32 33 0D 0A");
    EXPECT_EQ(LastLine(m.Memo2), "0123");
    EXPECT_EQ(m.Edit3->text(), "1");
    Reply("\x01\x02\xFE"s); // no hex-digit byte: logged, not counted
    EXPECT_EQ(LastLine(m.Memo1), "01 02 FE");
    EXPECT_EQ(LastLine(m.Memo2), "");
    EXPECT_EQ(m.Edit3->text(), "1");
    m.BitBtn2->click();
    EXPECT_EQ(m.Edit3->text(), "0");
    EXPECT_EQ(Lines(m.Memo1), 0);
    EXPECT_EQ(Lines(m.Memo2), 0);
}

TEST_F(ConsoleFixture, AReplySplitInTwoChunksIsNeitherReportNorAcknowledgement)
{
    const std::string report = "\xFE\xF1\x00\x05\x42\x01\x04\x20\x03\x45\xB4\xFF"s;
    Reply(report.substr(0, 6));
    Pump(300);
    Reply(report.substr(6));
    EXPECT_EQ(Lines(m.Memo1), 2);
    EXPECT_EQ(p.Edit_set2->text(), "1");
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(ConsoleFixture, AFullChunkOf4096BytesIsLoggedWhole)
{
    std::string chunk(4096, '\0');
    for (std::size_t i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<char>('0' + i % 10);
    Reply(chunk);
    Pump(300);
    EXPECT_EQ(LastLine(m.Memo1).size(), 4096 * 3 - 1);
    EXPECT_EQ(LastLine(m.Memo2).size(), 4096);
}

TEST_F(ConsoleFixture, ARawSendLongerThanOneRequestArrivesWhole)
{
    std::string bytes(70000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 13);
    m.Edit2->setText(QString::fromStdString(HexLine(bytes)));
    m.Button3->click();
    const std::string got = pty.Read(bytes.size());
    ASSERT_EQ(got.size(), bytes.size());
    EXPECT_TRUE(got == bytes) << "bytes lost or reordered";
    EXPECT_EQ(Lines(m.Memo1), 0); // a raw send is not logged
    EXPECT_TRUE(console.Timer_wait->isActive());
}

TEST_F(ConsoleFixture, ABlankRawLineDoesNothing)
{
    m.Edit2->setText(" \t ");
    m.Button3->click();
    EXPECT_FALSE(console.Timer_wait->isActive());
    m.Edit2->setText("zz"); // no hex digit: nothing is queued, the time-out still arms
    m.Button3->click();
    EXPECT_TRUE(console.Timer_wait->isActive());
    EXPECT_EQ(pty.Read(1, 200), "");
}

TEST_F(ConsoleFixture, SendingWithThePortClosedTimesOut)
{
    window.Comm().StopPort();
    p.Button2->click();
    EXPECT_EQ(Lines(m.Memo1), 1);
    ASSERT_TRUE(WaitUntil([&] { return !recorder.messages.empty(); }, 3000));
    EXPECT_EQ(recorder.Texts(), QStringList{"发送失败"});
}

// A line that keeps sending lone acknowledgements: each is delivered from
// inside the open box's loop, as the serial link delivers them. One box
// stays on screen and shows the latest; every chunk is logged.
TEST_F(ConsoleFixture, AcknowledgementsWhileTheirBoxIsOpenUpdateItInsteadOfNesting)
{
    SetMessagePresenter(nullptr); // real modal boxes with their nested event loops
    constexpr int kMore = 500;
    int delivered = 0;
    QSet<QMessageBox *> boxes;
    // Qt never fires a timer inside its own handler, so the feeder and the
    // closer are two timers: a box nested inside the feeder is still closed.
    QTimer feeder, closer;
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() == nullptr || delivered >= kMore)
            return;
        ++delivered;
        const std::string ack = delivered == kMore ? "\x00\x00\x01\x00"s : "\x00\x00\x00\x00"s;
        console.CommReceiveData(&window.Comm(), ack.data(), 4);
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
    EXPECT_EQ(Lines(m.Memo1), kMore + 1);
    EXPECT_EQ(Lines(m.Memo2), kMore + 1);
    // Once it is closed, the next acknowledgement opens a box again.
    SetMessagePresenter([&](const MessageRequest &r) { recorder.messages.push_back(r); });
    const std::string ack = "\x00\x00\x00\x00"s;
    console.CommReceiveData(&window.Comm(), ack.data(), 4);
    EXPECT_EQ(recorder.Texts(), QStringList{"设置成功"});
}
