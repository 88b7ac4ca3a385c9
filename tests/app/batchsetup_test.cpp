// 批量设置 against simulated readers plugged in and pulled out one after
// another behind one stable name, as at an installer's bench.
#include "app/batchsetupdialog.h"
#include "tests/support/window.h"
#include "app/mainwindow.h"
#include "tests/support/filetargets.h"
#include "tests/support/files.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/qtwait.h"
#include "tests/support/readersim.h"
#include "tests/support/tempdir.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace rovi;
using namespace rovi::test;

namespace {

template <class W> W *Child(QWidget *root, const char *name)
{
    W *w = root->findChild<W *>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

class BatchFixture : public testing::Test {
protected:
    std::string Link() const { return (dir.Path() / "reader").string(); }
    // A reader plugged in behind the name; a refusing one is made ready
    // under another name first, so it refuses from its first frame.
    std::unique_ptr<ReaderSim> Plug(bool refusing) { return Plug(refusing ? "refuse\n" : nullptr); }
    // A reader with a fault for its first reply ("drop\n": silent).
    std::unique_ptr<ReaderSim> Plug(const char *fault)
    {
        if (!fault)
            return std::make_unique<ReaderSim>(QStringList{"--link", QString::fromStdString(Link())});
        const std::string staging = (dir.Path() / "staging").string();
        auto sim = std::make_unique<ReaderSim>(QStringList{"--link", QString::fromStdString(staging)});
        sim->Command(fault);
        EXPECT_EQ(std::rename(staging.c_str(), Link().c_str()), 0);
        return sim;
    }
    // The window's batch dialog for the reader behind the name, from
    // `first_id`, `count` readers (0: until stopped), recorded in `csv`.
    BatchSetupDialog *OpenBatch(MainWindow &window, int first_id, int count, const std::string &csv)
    {
        window.show();
        test::UsePort(window, Link());
        window.ShowBatchSetup();
        BatchSetupDialog *batch = window.BatchSetup();
        Child<QSpinBox>(batch, "firstId")->setValue(first_id);
        Child<QSpinBox>(batch, "readerCount")->setValue(count);
        Child<QLineEdit>(batch, "recordPath")->setText(QString::fromStdString(csv));
        return batch;
    }
    // The record without its time column, line by line.
    static std::vector<std::string> Rows(const std::string &path)
    {
        std::ifstream in(path);
        std::vector<std::string> rows;
        for (std::string line; std::getline(in, line);)
            rows.push_back(rows.empty() ? line : line.substr(line.find(',')));
        return rows;
    }

    TempDir dir;
    MessageRecorder recorder;
};

} // namespace

// Three readers to set, the second one plugged in refuses: four readers in
// all, IDs 17, (18 refused), 18, 19. The window's record and rovi-cli
// provision's for the same run agree row for row, but for the times.
TEST_F(BatchFixture, ThreeReadersWithConsecutiveIdsOneRefusalAndRovicliSRecord)
{
    std::ofstream(dir.Path() / "site.rovi") << "# site\nid=5\nwiegand=34\nformat=hex\n";
    const std::string window_csv = (dir.Path() / "window.csv").string();
    const std::string cli_csv = (dir.Path() / "cli.csv").string();
    const bool refusing[] = {false, true, false, false};

    MainWindow window;
    window.show();
    test::UsePort(window, Link());
    window.ShowBatchSetup();
    BatchSetupDialog *batch = window.BatchSetup();
    ASSERT_NE(batch, nullptr);
    EXPECT_FALSE(batch->isModal());
    Child<QComboBox>(batch, "profileSource")->setCurrentIndex(1);
    Child<QLineEdit>(batch, "profilePath")->setText(QString::fromStdString((dir.Path() / "site.rovi").string()));
    Child<QSpinBox>(batch, "firstId")->setValue(17);
    Child<QSpinBox>(batch, "readerCount")->setValue(3);
    Child<QLineEdit>(batch, "recordPath")->setText(QString::fromStdString(window_csv));
    auto *table = Child<QTableWidget>(batch, "batchTable");
    auto *status = Child<QLabel>(batch, "batchStatus");
    Child<QPushButton>(batch, "startButton")->click();
    ASSERT_TRUE(batch->Running());
    for (int reader = 0; reader < 4; ++reader) {
        ASSERT_TRUE(WaitUntil([&] { return status->text().startsWith("等待读卡器"); }, 10000))
            << status->text().toStdString();
        auto sim = Plug(refusing[reader]);
        ASSERT_TRUE(WaitUntil([&] { return table->rowCount() == reader + 1; }, 10000)) << reader;
    } // each reader pulled out as the next one comes
    ASSERT_TRUE(WaitUntil([&] { return !batch->Running(); }, 5000));
    EXPECT_EQ(batch->Finished(), 3);
    const char *ids[] = {"17", "18", "18", "19"};
    const char *results[] = {"成功", "拒绝", "成功", "成功"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(table->item(row, 2)->text(), ids[row]) << row;
        EXPECT_EQ(table->item(row, 3)->text(), QString::fromUtf8(results[row])) << row;
    }
    EXPECT_TRUE(table->item(0, 4)->text().contains("id=17 wiegand=34 format=hex")) << table->item(0, 4)->text().toStdString();
    EXPECT_TRUE(recorder.messages.empty());

    QProcess cli;
    cli.start(QStringLiteral(ROVI_CLI_PATH), {"-p", QString::fromStdString(Link()), "provision", "--profile",
                                              QString::fromStdString((dir.Path() / "site.rovi").string()), "--id-from",
                                              "17", "--count", "3", "--record", QString::fromStdString(cli_csv)});
    ASSERT_TRUE(cli.waitForStarted());
    std::string err;
    for (int reader = 0; reader < 4; ++reader) {
        ASSERT_TRUE(WaitUntil([&] {
            err += cli.readAllStandardError().toStdString();
            std::size_t waits = 0;
            for (std::size_t at = err.find("waiting for"); at != std::string::npos; at = err.find("waiting for", at + 1))
                ++waits;
            return waits == static_cast<std::size_t>(reader + 1);
        }, 10000)) << err;
        auto sim = Plug(refusing[reader]);
        ASSERT_TRUE(WaitUntil([&] { return Rows(cli_csv).size() == static_cast<std::size_t>(reader + 2); }, 10000)) << err;
    }
    ASSERT_TRUE(cli.state() == QProcess::NotRunning || cli.waitForFinished(10000));
    const auto from_window = Rows(window_csv);
    const auto from_cli = Rows(cli_csv);
    ASSERT_EQ(from_window.size(), 5u);
    EXPECT_EQ(from_window, from_cli);
    EXPECT_NE(from_window[2].find(",failed,"), std::string::npos) << from_window[2];
}

// Stopping leaves the window's port as it was: open again when it was open.
TEST_F(BatchFixture, AStoppedBatchLeavesThePortAsItWas)
{
    auto reader = Plug(false);
    MainWindow window;
    BatchSetupDialog *batch = OpenBatch(window, 1, 0, (dir.Path() / "r.csv").string());
    window.OpenPort();
    ASSERT_TRUE(window.Link().IsOpen());
    Child<QPushButton>(batch, "startButton")->click();
    EXPECT_FALSE(window.Link().IsOpen()); // the batch has the port now
    ASSERT_TRUE(WaitUntil([&] { return Child<QTableWidget>(batch, "batchTable")->rowCount() == 1; }, 10000));
    Child<QPushButton>(batch, "stopButton")->click();
    EXPECT_FALSE(batch->Running());
    EXPECT_TRUE(window.Link().IsOpen());

    window.ClosePort();
    Child<QPushButton>(batch, "startButton")->click();
    Child<QPushButton>(batch, "stopButton")->click();
    EXPECT_FALSE(window.Link().IsOpen()); // closed before, closed after
    EXPECT_TRUE(recorder.messages.empty());
}

// A rate in the port settings that is no number: 开始 says so as 打开COM口
// does, before the batch asks for the port, so the window's port stays open.
TEST_F(BatchFixture, ARateThatIsNoNumberStopsTheStartAndLeavesThePortOpen)
{
    auto reader = Plug(false);
    MainWindow window;
    BatchSetupDialog *batch = OpenBatch(window, 1, 0, (dir.Path() / "r.csv").string());
    window.OpenPort();
    ASSERT_TRUE(window.Link().IsOpen());
    test::ChangePortSettings(window, [](settings::PortSettings &s) { s.baud = "96x0"; }); // the dialog is told too
    Child<QPushButton>(batch, "startButton")->click();
    EXPECT_FALSE(batch->Running());
    EXPECT_TRUE(window.Link().IsOpen());
    EXPECT_EQ(recorder.Texts(), QStringList{"'96x0' is not a valid integer value."});
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "r.csv"));
}

// A record that cannot be written (a missing folder, a name taken by what
// is not a plain file): nothing starts, and it is said with the reason.
TEST_F(BatchFixture, ARecordThatCannotBeWrittenStopsBeforeAnythingIsSent)
{
    MainWindow window;
    test::UsePort(window, Link());
    window.ShowBatchSetup();
    BatchSetupDialog *batch = window.BatchSetup();
    const std::filesystem::path other = dir.Path() / "someone-elses";
    std::ofstream(other) << "theirs\n";
    std::vector<std::pair<std::filesystem::path, const char *>> records{{dir.Path() / "no-folder" / "r.csv", ""}};
    for (const NotAPlainFile &target : NotPlainFiles()) {
        const std::filesystem::path path = dir.Path() / (std::string(target.name) + ".csv");
        if (target.make(path, other)) // a device node needs root
            records.emplace_back(path, target.words);
    }
    for (const auto &[path, words] : records) {
        SCOPED_TRACE(path.string());
        recorder.messages.clear();
        Child<QLineEdit>(batch, "recordPath")->setText(QString::fromStdString(path.string()));
        EXPECT_FALSE(batch->Start());
        EXPECT_FALSE(batch->Running());
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_TRUE(recorder.messages[0].text.startsWith("无法写入记录文件")) << recorder.messages[0].text.toStdString();
        EXPECT_TRUE(recorder.messages[0].text.contains(QString::fromUtf8(words))) << recorder.messages[0].text.toStdString();
    }
    EXPECT_EQ(ReadAll(other.string()), "theirs\n");
}

// A reader at another rate answers the set frame with bytes that are no
// reply: said so, with the way to find it, and its ID kept.
TEST_F(BatchFixture, AReaderAtAnotherRateIsSaidSo)
{
    MainWindow window;
    window.show();
    test::UsePort(window, Link());
    window.ShowBatchSetup();
    BatchSetupDialog *batch = window.BatchSetup();
    Child<QLineEdit>(batch, "recordPath")->setText(QString::fromStdString((dir.Path() / "r.csv").string()));
    Child<QSpinBox>(batch, "firstId")->setValue(40);
    auto *table = Child<QTableWidget>(batch, "batchTable");
    ReaderSim fast({"--link", QString::fromStdString(Link()), "--baud", "115200"});
    ASSERT_TRUE(batch->Start());
    ASSERT_TRUE(WaitUntil([&] { return table->rowCount() == 1; }, 10000));
    EXPECT_EQ(table->item(0, 3)->text(), QString::fromUtf8("无应答，波特率可能不同"));
    const QString status = Child<QLabel>(batch, "batchStatus")->text();
    EXPECT_TRUE(status.contains(QString::fromUtf8("失败，ID 40 留给下一台")) && status.contains(QString::fromUtf8("搜索读卡器")))
        << status.toStdString();
    batch->Stop();
}

// Stopped, or the dialog or the window closed, while a reader is being set
// (the frame sent, no answer yet): the reader may have taken its ID, so the
// record gets a row that says so, and the table too while it is shown.
TEST_F(BatchFixture, StoppedWhileSettingTheRecordSaysWhatIsKnown)
{
    enum class End { StopButton, DialogClosed, WindowClosed };
    const struct {
        const char *name;
        End end;
    } rows[] = {{"stop", End::StopButton}, {"dialog closed", End::DialogClosed}, {"window closed", End::WindowClosed}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const std::string csv = (dir.Path() / (std::string(row.name) + ".csv")).string();
        auto window = std::make_unique<MainWindow>();
        BatchSetupDialog *batch = OpenBatch(*window, 17, 0, csv);
        auto *status = Child<QLabel>(batch, "batchStatus");
        auto *table = Child<QTableWidget>(batch, "batchTable");
        ASSERT_TRUE(batch->Start());
        auto sim = Plug("drop\n");
        ASSERT_TRUE(WaitUntil([&] { return status->text().startsWith("正在设置"); }, 10000)) << status->text().toStdString();
        switch (row.end) {
        case End::StopButton: Child<QPushButton>(batch, "stopButton")->click(); break;
        case End::DialogClosed: batch->close(); break;
        case End::WindowClosed: window.reset(); break;
        }
        if (window) {
            EXPECT_FALSE(batch->Running());
            ASSERT_EQ(table->rowCount(), 1);
            EXPECT_EQ(table->item(0, 2)->text(), "17");
            EXPECT_EQ(table->item(0, 3)->text(), "已停止，未应答");
        }
        const auto lines = Rows(csv);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_NE(lines[1].find(",failed,"), std::string::npos) << lines[1];
        EXPECT_NE(lines[1].find("it may have taken ID 17"), std::string::npos) << lines[1];
        std::filesystem::remove(Link());
    }
    EXPECT_TRUE(recorder.messages.empty());
}

// The IDs run out at 240: the batch stops there, said so, after the reader
// that took 240.
TEST_F(BatchFixture, TheBatchStopsWhenTheIdsRunOut)
{
    MainWindow window;
    BatchSetupDialog *batch = OpenBatch(window, 240, 3, (dir.Path() / "r.csv").string());
    ASSERT_TRUE(batch->Start());
    auto sim = Plug(false);
    ASSERT_TRUE(WaitUntil([&] { return !batch->Running(); }, 10000));
    EXPECT_EQ(batch->Finished(), 1);
    EXPECT_EQ(Child<QLabel>(batch, "batchStatus")->text(), "ID 已用到 240，已停止");
    EXPECT_EQ(Child<QTableWidget>(batch, "batchTable")->item(0, 2)->text(), "240");
}

// The record stops taking rows in the middle of a batch (its name taken by
// a folder): the batch stops at once, says so, and the table keeps the row.
TEST_F(BatchFixture, ARecordThatFailsMidBatchStopsIt)
{
    const std::filesystem::path csv = dir.Path() / "r.csv";
    MainWindow window;
    BatchSetupDialog *batch = OpenBatch(window, 17, 3, csv.string());
    auto *table = Child<QTableWidget>(batch, "batchTable");
    ASSERT_TRUE(batch->Start());
    {
        auto sim = Plug(false);
        ASSERT_TRUE(WaitUntil([&] { return table->rowCount() == 1; }, 10000));
    }
    std::filesystem::remove(csv);
    std::filesystem::create_directory(csv);
    auto *status = Child<QLabel>(batch, "batchStatus");
    ASSERT_TRUE(WaitUntil([&] { return status->text().startsWith("等待读卡器"); }, 10000)) << status->text().toStdString();
    auto sim = Plug(false);
    ASSERT_TRUE(WaitUntil([&] { return !batch->Running(); }, 10000));
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(status->text(), "记录文件无法写入，已停止");
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_TRUE(recorder.messages[0].text.contains("已停止；表中的结果都在。")) << recorder.messages[0].text.toStdString();
}

// The window's reader unplugged with 断线自动重连 on: the window watches for
// the port. A batch started then has the port to itself (the window does
// not grab the next reader), and when it ends the window watches again and
// takes the reader that is there.
TEST_F(BatchFixture, TheWindowLeavesThePortToTheBatchAndTakesItBackAfter)
{
    MainWindow window;
    window.SetReconnect(true);
    BatchSetupDialog *batch = OpenBatch(window, 17, 2, (dir.Path() / "r.csv").string());
    {
        auto first = Plug(false);
        window.OpenPort();
        ASSERT_TRUE(window.Link().IsOpen());
    }
    ASSERT_TRUE(WaitUntil([&] { return window.Reconnecting(); }));
    ASSERT_TRUE(batch->Start());
    EXPECT_FALSE(window.Reconnecting());
    auto *table = Child<QTableWidget>(batch, "batchTable");
    auto *status = Child<QLabel>(batch, "batchStatus");
    for (int reader = 0; reader < 2; ++reader) {
        ASSERT_TRUE(WaitUntil([&] { return status->text().startsWith("等待读卡器"); }, 10000)) << status->text().toStdString();
        auto sim = Plug(false);
        ASSERT_TRUE(WaitUntil([&] { return table->rowCount() == reader + 1; }, 10000)) << status->text().toStdString();
        EXPECT_FALSE(window.Link().IsOpen());
        if (reader == 1) {
            ASSERT_TRUE(WaitUntil([&] { return !batch->Running(); }));
            EXPECT_TRUE(WaitUntil([&] { return window.Link().IsOpen(); })); // watched for again, and there
        }
    }
    EXPECT_EQ(batch->Finished(), 2);
    EXPECT_TRUE(recorder.messages.empty());
}

// A port that is there but cannot be opened (here a plain file under the
// port's name) is tried again, and after a few looks said with its words.
TEST_F(BatchFixture, APortThatStaysUnopenableIsSaidSo)
{
    MainWindow window;
    BatchSetupDialog *batch = OpenBatch(window, 17, 1, (dir.Path() / "r.csv").string());
    std::ofstream(Link()) << "not a terminal\n";
    ASSERT_TRUE(batch->Start());
    auto *status = Child<QLabel>(batch, "batchStatus");
    ASSERT_TRUE(WaitUntil([&] { return status->text().startsWith("无法打开"); }, 10000)) << status->text().toStdString();
    EXPECT_TRUE(status->text().contains(QString::fromStdString(Link())));
    EXPECT_TRUE(status->text().endsWith("（仍在重试）"));
    EXPECT_TRUE(batch->Running());
    Child<QPushButton>(batch, "stopButton")->click();
}
