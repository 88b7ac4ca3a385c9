// The port settings dialog, OpenCom and start-up, against real pseudo-terminals
// and real set.ini files in a fresh current directory.
#include "app/mainwindow.h"
#include "tests/support/window.h"
#include "settings/portsettings.h"
#include "settings/inifile.h"
#include "settings/portdialog.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/qtwait.h"
#include "tests/support/pty.h"
#include "tests/support/tempdir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "tests/support/rowname.h"

#include <QCoreApplication>

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace rovi;
using namespace rovi::settings;

namespace {

class SettingsFixture : public testing::Test {
protected:
    void SaveIni(const PortSettings &s, bool auto_connect) { SavePortSettings(kIniPath, s, auto_connect); }
    PortSettings OnPty() const
    {
        PortSettings s;
        s.port = pty.SlavePath();
        return s;
    }

    test::TempDir dir;
    test::Pty pty;
    test::MessageRecorder recorder;
};

// The box's own text, then one line that says why.
void ExpectOpenFailure(const test::MessageRecorder &recorder, const std::string &why)
{
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].title, "提示");
    const QStringList lines = recorder.messages[0].text.split('\n');
    ASSERT_EQ(lines.size(), 2) << recorder.messages[0].text.toStdString();
    EXPECT_EQ(lines[0], "串口打开失败或者此串口已经被占用");
    EXPECT_TRUE(lines[1].contains(QString::fromStdString(why))) << lines[1].toStdString();
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::None);
}

} // namespace

TEST_F(SettingsFixture, FirstStartWithoutSetIniLeavesThePortClosed)
{
    MainWindow window;
    window.show();
    EXPECT_EQ(window.CurrentPortSettings(), PortSettings{});
    EXPECT_FALSE(window.Link().IsOpen());
    EXPECT_TRUE(window.StatusText().isEmpty());
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(SettingsFixture, AutoConnectOpensThePortAtStartUpAndCloseStopsIt)
{
    SaveIni(OnPty(), true);
    MainWindow window;
    window.show();
    EXPECT_TRUE(window.Link().IsOpen());
    EXPECT_EQ(window.StatusText(),
              QString::fromStdString("串口:" + pty.SlavePath() + " 波特率:9600 无校验 数据位：8 停止位：1"));
    window.close();
    EXPECT_FALSE(window.Link().IsOpen());
}

TEST_F(SettingsFixture, AutoConnectToAnAbsentPortShowsTheFailureBox)
{
    PortSettings s;
    s.port = dir.Absent();
    SaveIni(s, true);
    MainWindow window;
    window.show();
    EXPECT_FALSE(window.Link().IsOpen());
    ExpectOpenFailure(recorder, "设备 " + dir.Absent() + " 不存在");
    EXPECT_TRUE(window.StatusText().isEmpty());
}

TEST_F(SettingsFixture, ABusyPortNamesTheProgramThatHoldsIt)
{
    SerialLink holder;
    holder.SetPortName(pty.SlavePath());
    holder.StartPort();
    MainWindow window;
    window.SetPortSettings(OnPty());
    window.OpenPort();
    EXPECT_FALSE(window.Link().IsOpen());
    ExpectOpenFailure(recorder, "（进程 " + std::to_string(QCoreApplication::applicationPid()) + "）");
}

struct LineCase {
    const char *name;
    int parity, data, stop;
    Parity comm_parity;
    DataBits comm_size;
    StopBits comm_stop;
    const char *summary_tail;
};

class OpenComLine : public SettingsFixture, public testing::WithParamInterface<LineCase> {};

TEST_P(OpenComLine, SetsTheLinksLineAndTheSummary)
{
    MainWindow window;
    PortSettings s = OnPty();
    s.baud = "19200";
    s.parity = GetParam().parity;
    s.dataBits = GetParam().data;
    s.stopBits = GetParam().stop;
    window.SetPortSettings(s);
    window.OpenPort();
    ASSERT_TRUE(window.Link().IsOpen());
    EXPECT_EQ(window.Link().Line().baudRate, 19200u);
    EXPECT_EQ(window.Link().Line().parity, GetParam().comm_parity);
    EXPECT_EQ(window.Link().Line().dataBits, GetParam().comm_size);
    EXPECT_EQ(window.Link().Line().stopBits, GetParam().comm_stop);
    EXPECT_EQ(window.StatusText(),
              QString::fromStdString("串口:" + pty.SlavePath() + " 波特率:19200" + GetParam().summary_tail));
    window.ClosePort();
}

INSTANTIATE_TEST_SUITE_P(Table, OpenComLine, testing::Values(
    LineCase{"NoneEightOne", 0, 0, 0, Parity::None, DataBits::Eight, StopBits::One, " 无校验 数据位：8 停止位：1"},
    LineCase{"OddSevenTwo", 1, 1, 1, Parity::Odd, DataBits::Seven, StopBits::Two, " 奇校验 数据位：7 停止位：2"},
    LineCase{"EvenSixOne", 2, 2, 0, Parity::Even, DataBits::Six, StopBits::One, " 偶校验 数据位：6 停止位：1"},
    LineCase{"OutOfRangeLeftAsTheyWere", 7, -1, 9, Parity::None, DataBits::Eight, StopBits::One, ""}), // out of range: left as they were
    test::RowName{});

TEST_F(SettingsFixture, ABaudTextThatDoesNotParseChangesOnlyTheName)
{
    MainWindow window;
    window.SetPortSettings(OnPty());
    window.OpenPort();
    ASSERT_TRUE(window.Link().IsOpen());
    test::UsePort(window, "elsewhere");
    test::ChangePortSettings(window, [](PortSettings &s) { s.baud = "96x0"; });
    test::MenuAction(window, "openPortAction")->trigger(); // 打开COM口, through the handler that reports errors
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "'96x0' is not a valid integer value.");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(window.Link().PortName(), "elsewhere");
    EXPECT_EQ(window.Link().Line().baudRate, 9600u);
    EXPECT_TRUE(window.Link().IsOpen());
    test::MenuAction(window, "closePortAction")->trigger(); // 关闭COM口: the status says the port is closed
    EXPECT_FALSE(window.Link().IsOpen());
    EXPECT_EQ(window.StatusText(), QString::fromStdString("串口:" + pty.SlavePath() + " 已关闭"));
}

TEST_F(SettingsFixture, TheDialogShowsTheSettings)
{
    PortSettings s;
    s.port = "com3";
    s.baud = "115200";
    s.parity = 1;
    s.dataBits = 2;
    s.stopBits = 1;
    s.autoConnect = 1;
    PortDialog dialog(nullptr, s);
    EXPECT_EQ(dialog.windowTitle(), "串口选择");
    EXPECT_EQ(dialog.size(), QSize(403, 291));
    EXPECT_EQ(dialog.portBox->currentText(), "COM3"); // letter case ignored
    EXPECT_EQ(dialog.portBox->itemText(19), "COM20");
    EXPECT_EQ(dialog.baudBox->currentText(), "115200");
    EXPECT_EQ(dialog.parityBox->currentText(), "奇ODD");
    EXPECT_EQ(dialog.dataBitsBox->currentText(), "6");
    EXPECT_EQ(dialog.stopBitsBox->currentText(), "2");
    EXPECT_TRUE(dialog.autoConnectBox->isChecked());
    s.autoConnect = 2; // ticked exactly when the flag is 1
    s.baud = "300";
    PortDialog other(nullptr, s);
    EXPECT_FALSE(other.autoConnectBox->isChecked());
    EXPECT_EQ(other.baudBox->currentIndex(), -1);
}

TEST_F(SettingsFixture, OpenButtonSavesClosesAndReopensThePort)
{
    MainWindow window;
    window.SetPortSettings(OnPty());
    const auto dialog_made = window.NewPortDialog();
    PortDialog &dialog = *dialog_made;
    dialog.baudBox->setCurrentIndex(4);
    dialog.parityBox->setCurrentIndex(2);
    dialog.autoConnectBox->setChecked(true);
    dialog.show();
    dialog.openButton->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(window.Link().IsOpen());
    EXPECT_EQ(window.CurrentPortSettings().baud, "19200");
    EXPECT_EQ(window.CurrentPortSettings().parity, 2);
    EXPECT_EQ(window.CurrentPortSettings().autoConnect, 0); // the flag itself changes only at the next start
    PortSettings saved = window.CurrentPortSettings();
    saved.autoConnect = 1;
    EXPECT_EQ(LoadPortSettings(kIniPath), saved);
    window.ClosePort();
}

TEST_F(SettingsFixture, TheListDescribesDevicesAndFollowsThemComingAndGoing)
{
    QList<PortDialog::Device> present{{"/dev/ttyUSB7", "FT232R USB UART · FTDI · A1B2C3"}};
    PortDialog::SetDeviceLister([&] { return present; });
    PortSettings s;
    s.port = "/dev/ttyUSB7";
    PortDialog dialog(nullptr, s);
    QComboBox &ports = *dialog.portBox;
    EXPECT_EQ(ports.itemText(20), "/dev/ttyUSB7");
    EXPECT_EQ(ports.currentText(), "/dev/ttyUSB7"); // the name alone, as it is saved
    EXPECT_EQ(ports.itemData(20, Qt::ToolTipRole).toString(), "FT232R USB UART · FTDI · A1B2C3");
    EXPECT_EQ(ports.itemData(20, Qt::AccessibleDescriptionRole).toString(), "FT232R USB UART · FTDI · A1B2C3");

    present = {{"/dev/ttyACM0", "Reader CDC"}}; // one unplugged, another plugged in
    ASSERT_TRUE(test::WaitUntil([&] { return ports.findText("/dev/ttyACM0") >= 0; }, 3000));
    EXPECT_EQ(ports.itemData(ports.findText("/dev/ttyACM0"), Qt::ToolTipRole).toString(), "Reader CDC");
    // The chosen name stays chosen though its device is gone.
    EXPECT_EQ(ports.currentText(), "/dev/ttyUSB7");
    EXPECT_EQ(ports.itemData(ports.currentIndex(), Qt::ToolTipRole).toString(), "");
    PortDialog::SetDeviceLister(nullptr);
}

TEST_F(SettingsFixture, AStoredPortThatIsNoItemIsKeptNotLost)
{
    MainWindow window;
    test::UsePort(window, dir.Absent());
    const auto dialog_made = window.NewPortDialog();
    PortDialog &dialog = *dialog_made;
    EXPECT_EQ(dialog.portBox->currentText().toStdString(), dir.Absent());
    dialog.openButton->click();
    EXPECT_EQ(LoadPortSettings(kIniPath).port, dir.Absent());
    ExpectOpenFailure(recorder, "不存在");
}

// A port not in the list is typed into the box: it opens, and set.ini
// keeps the name as typed; a typed path that cannot be opened says why.
TEST_F(SettingsFixture, ATypedPortOpensAndIsSavedAsTyped)
{
    MainWindow window;
    const auto dialog_made = window.NewPortDialog();
    PortDialog &dialog = *dialog_made;
    ASSERT_TRUE(dialog.portBox->isEditable());
    dialog.portBox->lineEdit()->selectAll();
    QTest::keyClicks(dialog.portBox->lineEdit(), QString::fromStdString(pty.SlavePath()));
    dialog.RefreshDevices(); // a look for devices meanwhile leaves the typed name alone
    EXPECT_EQ(dialog.portBox->currentText().toStdString(), pty.SlavePath());
    dialog.openButton->click();
    EXPECT_TRUE(window.Link().IsOpen());
    EXPECT_EQ(window.Link().PortName(), pty.SlavePath());
    EXPECT_NE(ReadFileBytes(kIniPath).find("\xB4\xAE\xBF\xDA=" + pty.SlavePath() + "\r\n"), std::string::npos);
    EXPECT_TRUE(recorder.messages.empty());
    window.ClosePort();

    const auto again_made = window.NewPortDialog();
    PortDialog &again = *again_made;
    again.portBox->lineEdit()->selectAll();
    QTest::keyClicks(again.portBox->lineEdit(), QString::fromStdString(dir.Absent()));
    again.openButton->click();
    EXPECT_EQ(LoadPortSettings(kIniPath).port, dir.Absent());
    ExpectOpenFailure(recorder, "不存在");
}

TEST_F(SettingsFixture, AnUnwritableSetIniKeepsTheDialogOpenAndThePortAsItWas)
{
    std::filesystem::create_directory(kIniPath);
    MainWindow window;
    // Joined as the window joins it, but no port is opened here (COM2 would
    // be a real device of the machine): the request is only noted.
    PortDialog dialog(&window, window.CurrentPortSettings());
    QObject::connect(&dialog, &PortDialog::settingsChosen, &window, &MainWindow::SetPortSettings);
    bool open_requested = false;
    QObject::connect(&dialog, &PortDialog::openRequested, [&] { open_requested = true; });
    dialog.portBox->setCurrentIndex(1);
    dialog.show();
    dialog.openButton->click();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Unable to write to .\\set.ini.");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(open_requested);
    EXPECT_EQ(window.CurrentPortSettings().port, "COM2"); // copied before the first key was written
}
