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
