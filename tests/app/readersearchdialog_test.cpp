// 搜索读卡器… in the window: a reader found at its rate is put to use (its
// port and rate stored as the port dialog stores them, opened, the panel
// filled), and a search cut short lets its ports go.
#include "app/mainwindow.h"
#include "app/readersearchdialog.h"
#include "serial/seriallink.h"
#include "settings/portsettings.h"
#include "tests/support/controls.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/portfree.h"
#include "tests/support/pty.h"
#include "tests/support/qtwait.h"
#include "tests/support/readersim.h"
#include "tests/support/tempdir.h"

#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace rovi;

namespace {

PortEntry Candidate(const std::string &path)
{
    return PortEntry{path, {}, "simulated", {}, {}, {}};
}

} // namespace

TEST(ReaderSearchDialog, AFoundReaderIsStoredOpenedAndFillsThePanel)
{
    test::TempDir dir;
    test::MessageRecorder recorder;
    test::ReaderSim reader({"--baud", "57600"});
    test::Pty silent;
    ReaderSearchDialog::SetPortLister([&] { return std::vector<PortEntry>{Candidate(silent.SlavePath()), Candidate(reader.Path())}; });
    MainWindow window;
    window.show();
    ReaderSearchDialog dialog(&window, {}, 9600);
    QObject::connect(&dialog, &ReaderSearchDialog::useReader, &window,
                     [&](const QString &port, int rate, const Frame &report) { window.UseFoundReader(port.toStdString(), rate, report); });
    EXPECT_EQ(dialog.findChild<QListWidget *>("searchPorts")->count(), 2);
    dialog.findChild<QPushButton *>("startSearchButton")->click();
    ASSERT_TRUE(test::WaitUntil([&] { return !dialog.Searching(); }, 10000));
    ASSERT_EQ(dialog.Found(), 1);
    auto *answers = dialog.findChild<QTableWidget *>("searchAnswers");
    EXPECT_EQ(answers->item(0, 0)->text().toStdString(), reader.Path());
    EXPECT_EQ(answers->item(0, 1)->text(), "57600");
    EXPECT_EQ(answers->item(0, 2)->text(), "1");
    dialog.findChild<QPushButton *>("useReaderButton")->click();

    EXPECT_TRUE(window.Link().IsOpen());
    EXPECT_EQ(window.Link().PortName(), reader.Path());
    EXPECT_EQ(window.Link().Line().baudRate, 57600u);
    const settings::PortSettings stored = settings::LoadPortSettings(settings::kIniPath);
    EXPECT_EQ(stored.port, reader.Path());
    EXPECT_EQ(stored.baud, "57600");
    const test::PanelControls panel(&window);
    QStringList mirrors;
    for (auto *m : panel.Mirrors())
        mirrors << m->text();
    EXPECT_EQ(mirrors.join(' '), "00 01 41 01 07 20 03 05");
    EXPECT_TRUE(recorder.messages.empty());
    window.ClosePort();
    ReaderSearchDialog::SetPortLister(nullptr);
}

TEST(ReaderSearchDialog, ClosingItMidSearchLetsEveryPortGo)
{
    test::TempDir dir;
    test::Pty silent;
    ReaderSearchDialog::SetPortLister([&] { return std::vector<PortEntry>{Candidate(silent.SlavePath())}; });
    ReaderSearchDialog dialog(nullptr, {}, std::nullopt);
    dialog.StartSearch();
    ASSERT_TRUE(dialog.Searching());
    EXPECT_FALSE(test::PortFree(silent.SlavePath()));
    dialog.reject();
    EXPECT_FALSE(dialog.Searching());
    EXPECT_TRUE(test::PortFree(silent.SlavePath()));
    ReaderSearchDialog::SetPortLister(nullptr);
}

// Which ports the search offers: the one this program has open (by its
// path or its stable name) and one another program holds are listed,
// said so and never tried; a built-in ttyS port is offered unticked (on
// most machines it is a console or nothing); any other port is ticked.
TEST(ReaderSearchDialog, SkipsPortsInUseAndLeavesBuiltInPortsUnticked)
{
    test::TempDir dir;
    const std::vector<PortEntry> ports{
        PortEntry{"/dev/ttyUSB0", {}, "", {}, {}, {}},
        PortEntry{"/dev/ttyUSB1", "/dev/serial/by-id/usb-reader-1", "", {}, {}, {}},
        PortEntry{"/dev/ttyUSB2", {}, "", {{4242, "minicom"}}, {}, {}},
        PortEntry{"/dev/ttyS0", {}, "", {}, {}, {}},
        PortEntry{"/dev/ttyACM0", {}, "", {}, {}, {}},
    };
    ReaderSearchDialog::SetPortLister([&] { return ports; });
    const struct {
        QString in_use;
        const char *rows[5]; // the shown text; a row ticked and enabled starts with '+', an unticked enabled '-', a disabled '!'
    } cases[] = {
        {QStringLiteral("/dev/ttyUSB0"),
         {"!/dev/ttyUSB0  （本程序正在使用，跳过）", "+/dev/serial/by-id/usb-reader-1", "!/dev/ttyUSB2  （被 minicom 占用，跳过）",
          "-/dev/ttyS0", "+/dev/ttyACM0"}},
        // The window names its port by the stable name, or by the device it points to.
        {QStringLiteral("/dev/serial/by-id/usb-reader-1"),
         {"+/dev/ttyUSB0", "!/dev/serial/by-id/usb-reader-1  （本程序正在使用，跳过）", "!/dev/ttyUSB2  （被 minicom 占用，跳过）",
          "-/dev/ttyS0", "+/dev/ttyACM0"}},
        {QStringLiteral("/dev/ttyUSB1"),
         {"+/dev/ttyUSB0", "!/dev/serial/by-id/usb-reader-1  （本程序正在使用，跳过）", "!/dev/ttyUSB2  （被 minicom 占用，跳过）",
          "-/dev/ttyS0", "+/dev/ttyACM0"}},
    };
    for (const auto &c : cases) {
        ReaderSearchDialog dialog(nullptr, c.in_use, std::nullopt);
        const auto *list = dialog.findChild<QListWidget *>("searchPorts");
        ASSERT_EQ(list->count(), 5);
        for (int i = 0; i < 5; ++i) {
            const QListWidgetItem *item = list->item(i);
            const QChar mark = !(item->flags() & Qt::ItemIsEnabled) ? QLatin1Char('!')
                               : item->checkState() == Qt::Checked ? QLatin1Char('+')
                                                                   : QLatin1Char('-');
            EXPECT_EQ((mark + item->text()).toStdString(), c.rows[i]) << "in use: " << c.in_use.toStdString();
            if (mark == QLatin1Char('!')) { // a skipped port is never ticked
                EXPECT_EQ(item->checkState(), Qt::Unchecked);
            }
        }
    }
    ReaderSearchDialog::SetPortLister(nullptr);
}
