// The port settings dialog, OpenCom and start-up, against real pseudo-terminals
// and real set.ini files in a fresh current directory.
#include "app/utool.h"
#include "settings/portsettings.h"
#include "settings/ucomset.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/qtwait.h"
#include "tests/support/pty.h"
#include "tests/support/tempdir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "tests/support/rowname.h"

#include <QCoreApplication>

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
        s.com_port = pty.SlavePath();
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
    TFtool window;
    window.show();
    EXPECT_EQ(window.com, PortSettings{});
    EXPECT_FALSE(window.Comm().IsOpen());
    EXPECT_TRUE(window.StatusText().isEmpty());
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(SettingsFixture, AutoConnectOpensThePortAtStartUpAndCloseStopsIt)
{
    SaveIni(OnPty(), true);
    TFtool window;
    window.show();
    EXPECT_TRUE(window.Comm().IsOpen());
    EXPECT_EQ(window.StatusText(),
              QString::fromStdString("串口:" + pty.SlavePath() + " 波特率:9600 无校验 数据位：8 停止位：1"));
    window.close();
    EXPECT_FALSE(window.Comm().IsOpen());
}

TEST_F(SettingsFixture, AutoConnectToAnAbsentPortShowsTheFailureBox)
{
    PortSettings s;
    s.com_port = dir.Absent();
    SaveIni(s, true);
    TFtool window;
    window.show();
    EXPECT_FALSE(window.Comm().IsOpen());
    ExpectOpenFailure(recorder, "设备 " + dir.Absent() + " 不存在");
    EXPECT_TRUE(window.StatusText().isEmpty());
}

TEST_F(SettingsFixture, ABusyPortNamesTheProgramThatHoldsIt)
{
    TComm holder;
    holder.SetCommName(pty.SlavePath());
    holder.StartPort();
    TFtool window;
    window.com = OnPty();
    window.OpenCom();
    EXPECT_FALSE(window.Comm().IsOpen());
    ExpectOpenFailure(recorder, "（进程 " + std::to_string(QCoreApplication::applicationPid()) + "）");
}

struct LineCase {
    const char *name;
    int parity, data, stop;
    TParity comm_parity;
    TByteSize comm_size;
    TStopBits comm_stop;
    const char *summary_tail;
};

class OpenComLine : public SettingsFixture, public testing::WithParamInterface<LineCase> {};

TEST_P(OpenComLine, SetsTheComponentAndTheSummary)
{
    TFtool window;
    window.com = OnPty();
    window.com.com_btl = "19200";
    window.com.com_jyw = GetParam().parity;
    window.com.com_data = GetParam().data;
    window.com.com_tzw = GetParam().stop;
    window.OpenCom();
    ASSERT_TRUE(window.Comm().IsOpen());
    EXPECT_EQ(window.Comm().BaudRate(), 19200u);
    EXPECT_EQ(window.Comm().Parity(), GetParam().comm_parity);
    EXPECT_EQ(window.Comm().ByteSize(), GetParam().comm_size);
    EXPECT_EQ(window.Comm().StopBits(), GetParam().comm_stop);
    EXPECT_EQ(window.StatusText(),
              QString::fromStdString("串口:" + pty.SlavePath() + " 波特率:19200" + GetParam().summary_tail));
    window.CloseCom();
}

INSTANTIATE_TEST_SUITE_P(Table, OpenComLine, testing::Values(
    LineCase{"NoneEightOne", 0, 0, 0, TParity::None, TByteSize::_8, TStopBits::_1, " 无校验 数据位：8 停止位：1"},
    LineCase{"OddSevenTwo", 1, 1, 1, TParity::Odd, TByteSize::_7, TStopBits::_2, " 奇校验 数据位：7 停止位：2"},
    LineCase{"EvenSixOne", 2, 2, 0, TParity::Even, TByteSize::_6, TStopBits::_1, " 偶校验 数据位：6 停止位：1"},
    LineCase{"OutOfRangeLeftAsTheyWere", 7, -1, 9, TParity::None, TByteSize::_8, TStopBits::_1, ""}), // out of range: left as they were
    test::RowName{});

TEST_F(SettingsFixture, ABaudTextThatDoesNotParseChangesOnlyTheName)
{
    TFtool window;
    window.com = OnPty();
    window.OpenCom();
    ASSERT_TRUE(window.Comm().IsOpen());
    window.com.com_port = "elsewhere";
    window.com.com_btl = "96x0";
    window.N2->trigger(); // 打开COM口, through the handler that reports errors
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "'96x0' is not a valid integer value.");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(window.Comm().CommName(), "elsewhere");
    EXPECT_EQ(window.Comm().BaudRate(), 9600u);
    EXPECT_TRUE(window.Comm().IsOpen());
    window.COM2->trigger(); // 关闭COM口 leaves the status text standing
    EXPECT_FALSE(window.Comm().IsOpen());
    EXPECT_FALSE(window.StatusText().isEmpty());
}

TEST_F(SettingsFixture, TheDialogShowsTheSettings)
{
    PortSettings s;
    s.com_port = "com3";
    s.com_btl = "115200";
    s.com_jyw = 1;
    s.com_data = 2;
    s.com_tzw = 1;
    s.com_auto = 1;
    TFcomset dialog(nullptr, s, [] {});
    EXPECT_EQ(dialog.windowTitle(), "串口选择");
    EXPECT_EQ(dialog.size(), QSize(403, 291));
    EXPECT_EQ(dialog.ComboBox_com->currentText(), "COM3"); // letter case ignored
    EXPECT_EQ(dialog.ComboBox_com->itemText(19), "COM20");
    EXPECT_EQ(dialog.ComboBox_btl->currentText(), "115200");
    EXPECT_EQ(dialog.ComboBox_jyw->currentText(), "奇ODD");
    EXPECT_EQ(dialog.ComboBox_data->currentText(), "6");
    EXPECT_EQ(dialog.ComboBox_tzw->currentText(), "2");
    EXPECT_TRUE(dialog.CheckBox1->isChecked());
    s.com_auto = 2; // ticked exactly when the flag is 1
    s.com_btl = "300";
    TFcomset other(nullptr, s, [] {});
    EXPECT_FALSE(other.CheckBox1->isChecked());
    EXPECT_EQ(other.ComboBox_btl->currentIndex(), -1);
}

TEST_F(SettingsFixture, OpenButtonSavesClosesAndReopensThePort)
{
    TFtool window;
    window.com = OnPty();
    TFcomset dialog(&window, window.com, [&] { window.OpenCom(); });
    dialog.ComboBox_btl->setCurrentIndex(4);
    dialog.ComboBox_jyw->setCurrentIndex(2);
    dialog.CheckBox1->setChecked(true);
    dialog.show();
    dialog.Button1->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(window.Comm().IsOpen());
    EXPECT_EQ(window.com.com_btl, "19200");
    EXPECT_EQ(window.com.com_jyw, 2);
    EXPECT_EQ(window.com.com_auto, 0); // the flag itself changes only at the next start
    PortSettings saved = window.com;
    saved.com_auto = 1;
    EXPECT_EQ(LoadPortSettings(kIniPath), saved);
    window.CloseCom();
}

TEST_F(SettingsFixture, TheListDescribesDevicesAndFollowsThemComingAndGoing)
{
    QList<TFcomset::Device> present{{"/dev/ttyUSB7", "FT232R USB UART · FTDI · A1B2C3"}};
    TFcomset::SetDeviceLister([&] { return present; });
    PortSettings s;
    s.com_port = "/dev/ttyUSB7";
    TFcomset dialog(nullptr, s, [] {});
    QComboBox &ports = *dialog.ComboBox_com;
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
    TFcomset::SetDeviceLister(nullptr);
}

TEST_F(SettingsFixture, AStoredPortThatIsNoItemIsKeptNotLost)
{
    TFtool window;
    window.com.com_port = dir.Absent();
    TFcomset dialog(&window, window.com, [&] { window.OpenCom(); });
    EXPECT_EQ(dialog.ComboBox_com->currentText().toStdString(), dir.Absent());
    dialog.Button1->click();
    EXPECT_EQ(LoadPortSettings(kIniPath).com_port, dir.Absent());
    ExpectOpenFailure(recorder, "不存在");
}

TEST_F(SettingsFixture, AnUnwritableSetIniKeepsTheDialogOpenAndThePortAsItWas)
{
    std::filesystem::create_directory(kIniPath);
    TFtool window;
    bool reopened = false;
    TFcomset dialog(&window, window.com, [&] { reopened = true; });
    dialog.ComboBox_com->setCurrentIndex(1);
    dialog.show();
    dialog.Button1->click();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Unable to write to .\\set.ini.");
    EXPECT_EQ(recorder.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(reopened);
    EXPECT_EQ(window.com.com_port, "COM2"); // copied before the first key was written
}
