// rovi-cli as a separate process against the simulated reader on a
// pseudo-terminal.
#include "protocol/frame.h"
#include "serial/portinfo.h"
#include "serial/seriallink.h"
#include "tests/support/filetargets.h"
#include "tests/support/pty.h"
#include "tests/support/qtwait.h"
#include "tests/support/readersim.h"
#include "tests/support/ser2net.h"
#include "tests/support/tempdir.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonArray>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

using namespace rovi;
using namespace rovi::test;

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Cli(const QStringList &args)
{
    QProcess cli;
    cli.start(QStringLiteral(ROVI_CLI_PATH), args);
    if (!cli.waitForFinished(20000))
        cli.kill();
    return {cli.exitCode(), cli.readAllStandardOutput().toStdString(), cli.readAllStandardError().toStdString()};
}

QStringList On(const ReaderSim &sim, QStringList args)
{
    return QStringList{"-p", QString::fromStdString(sim.Path())} + args;
}

// The reader's fields, asked at `baud` (the reader's own rate).
QJsonObject QueryFields(const ReaderSim &sim, const QString &baud = "9600")
{
    const Result r = Cli(On(sim, {"-b", baud, "query", "--json"}));
    EXPECT_EQ(r.code, 0) << r.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object()["fields"].toObject();
}

QString ValueOf(const QJsonObject &fields, const char *field)
{
    return fields[field].toObject()["value"].toString();
}

} // namespace

TEST(CliQuery, PrintsTheReadersSettingsAndRawBytes)
{
    ReaderSim sim;
    const Result text = Cli(On(sim, {"query"}));
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("Wiegand        Wiegand output, Wiegand 26"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Raw            FE F1 00 01 41 01 04 20 03 05 6F FF"), std::string::npos);
    const QJsonObject fields = QueryFields(sim);
    EXPECT_EQ(ValueOf(fields, "id"), "1");
    EXPECT_EQ(ValueOf(fields, "power"), "software:1");
    EXPECT_EQ(ValueOf(fields, "send"), "0.5s");
    EXPECT_EQ(fields["reread"].toObject()["byte"].toInt(), 3);
}

TEST(CliSet, EachFieldRoundTripsThroughTheReader)
{
    ReaderSim sim;
    const std::pair<const char *, const char *> sets[] = {
        {"id", "17"},          {"wiegand", "dip"},      {"wiegand", "off"},        {"format", "dec"},
        {"baud", "115200"},    {"power", "external"},   {"power", "software:32"},  {"reread", "60m,leave"},
        {"reread", "7s"},      {"send", "6.0s"},        {"send", "60s"},           {"ctrl", "33"},
    };
    QString rate = "9600"; // the reader's, which a set of baud changes
    for (const auto &[field, value] : sets) {
        const QString word = QStringLiteral("%1=%2").arg(field, value);
        const Result r = Cli(On(sim, {"-b", rate, "set", word, "--verify"})); // verified at the new rate
        EXPECT_EQ(r.code, 0) << word.toStdString() << ": " << r.err;
        if (std::string(field) == "baud")
            rate = value;
        EXPECT_EQ(ValueOf(QueryFields(sim, rate), field), value) << word.toStdString();
    }
}

TEST(CliSet, SeveralFieldsLeaveTheOthersAsTheyWere)
{
    ReaderSim sim;
    const Result r = Cli(On(sim, {"set", "id=9", "baud=19200"}));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "accepted: id=9 baud=19200\n");
    EXPECT_EQ(Cli(On(sim, {"query"})).code, 6); // the reader now runs at 19200: garbage at 9600
    const QJsonObject fields = QueryFields(sim, "19200");
    EXPECT_EQ(ValueOf(fields, "id"), "9");
    EXPECT_EQ(ValueOf(fields, "baud"), "19200");
    EXPECT_EQ(ValueOf(fields, "wiegand"), "26");
    EXPECT_EQ(ValueOf(fields, "reread"), "3s");
}

TEST(CliReset, RestoresTheFactorySettings)
{
    ReaderSim sim;
    ASSERT_EQ(Cli(On(sim, {"set", "id=9"})).code, 0);
    const Result r = Cli(On(sim, {"reset"}));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ValueOf(QueryFields(sim), "id"), "1");
}

TEST(CliSet, AnOutOfRangeValueIsRefusedBeforeThePortIsOpened)
{
    TempDir dir;
    // The port cannot exist: had anything been opened, the code would be 3.
    const Result r = Cli({"-p", QString::fromStdString((dir.Path() / "no-port").string()), "set", "id=241"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("field id: '241' is not allowed; allowed: 1 to 240"), std::string::npos) << r.err;
}

// One row per fault, each against a fresh simulated reader, so one fault
// cannot leak into the next row.
TEST(CliSet, RefusalSilenceAndAFailedVerificationHaveTheirCodes)
{
    const struct {
        const char *fault;
        QStringList command;
        int code;
        const char *said; // part of what rovi-cli says, or nullptr
    } rows[] = {
        {"refuse\n", {"set", "id=5"}, 5, "FE F1 02 FF"},
        {"drop\n", {"--timeout", "300", "query"}, 4, "no reply within 300 ms"},
        {"ignore\n", {"set", "id=6", "--verify"}, 6, "id is 1, not 6"},
        {"badsum\n", {"query"}, 6, "not a valid report"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.fault);
        ReaderSim sim;
        sim.Command(row.fault);
        const Result r = Cli(On(sim, row.command));
        EXPECT_EQ(r.code, row.code) << r.err;
        EXPECT_NE(r.err.find(row.said), std::string::npos) << r.err;
    }
}

TEST(CliOpen, SaysWhetherThePortIsMissingOrBusyAndByWhom)
{
    TempDir dir;
    Result r = Cli({"-p", QString::fromStdString((dir.Path() / "no-port").string()), "query"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("no such device"), std::string::npos) << r.err;

    ReaderSim sim;
    SerialLink holder;
    holder.SetPortName(sim.Path());
    holder.StartPort();
    r = Cli(On(sim, {"query"}));
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("busy, held by"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("(pid " + std::to_string(QCoreApplication::applicationPid()) + ")"), std::string::npos) << r.err;
}

TEST(CliMonitor, PrintsTheCardStream)
{
    ReaderSim sim;
    ASSERT_EQ(Cli(On(sim, {"set", "format=hex"})).code, 0);
    sim.Command("cards 150\n");
    const Result r = Cli(On(sim, {"monitor", "--cards", "--count", "3"}));
    ASSERT_EQ(r.code, 0) << r.err;
    std::istringstream lines(r.out);
    std::vector<unsigned long> cards;
    for (std::string line; std::getline(lines, line);)
        cards.push_back(std::stoul(line, nullptr, 16));
    ASSERT_EQ(cards.size(), 3u) << r.out;
    EXPECT_EQ(cards[1], cards[0] + 1);
    EXPECT_EQ(cards[2], cards[1] + 1);
}

// rovi-cli cards: the simulator's three cards, in its hex format, once each
// turn. Then a line with no card on it: exit 4, and the table says so.
TEST(CliCards, ListsTheCardsReadAndSaysWhenNoneWas)
{
    ReaderSim sim({"--tags", "3"});
    ASSERT_EQ(Cli(On(sim, {"set", "format=hex"})).code, 0);
    sim.Command("cards 300\n");
    const Result r = Cli(On(sim, {"cards", "--seconds", "3", "--json"}));
    ASSERT_EQ(r.code, 0) << r.err;
    const QJsonObject table = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    QStringList cards;
    for (const QJsonValue &card : table["cards"].toArray()) {
        cards << card["card"].toString();
        EXPECT_GE(card["reads"].toInt(), 2) << r.out;
        EXPECT_FALSE(card["left"].toBool());
        EXPECT_GT(card["mean_interval_ms"].toInt(), 600) << r.out;
        EXPECT_TRUE(card["first"].toString() <= card["last"].toString());
    }
    cards.sort();
    EXPECT_EQ(cards, QStringList({"00BC614E", "00BC614F", "00BC6150"})) << r.out;
    EXPECT_EQ(table["seconds"].toInt(), 3);
    EXPECT_EQ(table["unlisted_reads"].toInt(), 0);

    sim.Command("cards off\n");
    const Result none = Cli(On(sim, {"cards", "--seconds", "1"}));
    EXPECT_EQ(none.code, 4) << none.err;
    EXPECT_EQ(none.out.substr(none.out.find('\n') + 1), "0 card(s), 0 read(s)\n");
    EXPECT_NE(none.err.find("no card was read in 1 s"), std::string::npos) << none.err;
}

TEST(CliProvision, ConfiguresTwoReadersInARowWithConsecutiveIds)
{
    TempDir dir;
    const QString link = QString::fromStdString((dir.Path() / "reader").string());
    const QString record = QString::fromStdString((dir.Path() / "site.csv").string());
    QProcess cli;
    cli.start(QStringLiteral(ROVI_CLI_PATH),
              {"-p", link, "provision", "wiegand=34", "--id-from", "17", "--record", record, "--count", "2"});
    ASSERT_TRUE(cli.waitForStarted());
    std::string out, err;
    auto count = [](const std::string &text, const std::string &what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    for (std::size_t reader = 1; reader <= 2; ++reader) {
        // Plug the next reader in once the tool has seen the last one go.
        ASSERT_TRUE(WaitUntil([&] {
            err += cli.readAllStandardError().toStdString();
            return count(err, "waiting for") == reader;
        }, 10000)) << err;
        ReaderSim sim({"--link", link});
        ASSERT_TRUE(WaitUntil([&] {
            out += cli.readAllStandardOutput().toStdString();
            return count(out, "\n") == reader;
        }, 10000)) << out << err;
    } // each reader unplugged: its link goes away with it
    ASSERT_TRUE(cli.state() == QProcess::NotRunning || cli.waitForFinished(10000));
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_EQ(out, "ok      id=17 wiegand=34\nok      id=18 wiegand=34\n");
    std::ifstream csv(record.toStdString());
    std::string header, first, second;
    std::getline(csv, header);
    std::getline(csv, first);
    std::getline(csv, second);
    EXPECT_EQ(header, "time,port,result,ctrl,id,wiegand,format,baud,power,reread,send,raw,detail\r");
    EXPECT_NE(first.find(",ok,\"00\",\"17\",\"34\","), std::string::npos) << first;
    EXPECT_NE(second.find(",ok,\"00\",\"18\",\"34\","), std::string::npos) << second;
}

// A record that cannot be written is found before any reader is changed:
// exit 2, nothing sent (the reader keeps its ID), whatever stands there.
TEST(CliProvision, ARecordThatCannotBeWrittenStopsBeforeAnythingIsSent)
{
    TempDir dir;
    const QString link = QString::fromStdString((dir.Path() / "reader").string());
    ReaderSim sim({"--link", link});
    const std::filesystem::path other = dir.Path() / "someone-elses";
    std::ofstream(other) << "theirs\n";
    std::vector<std::string> records{(dir.Path() / "no-folder" / "site.csv").string()};
    for (const NotAPlainFile &target : NotPlainFiles()) {
        const std::filesystem::path path = dir.Path() / (std::string(target.name) + ".csv");
        if (target.make(path, other)) // a device node needs root
            records.push_back(path.string());
    }
    for (const std::string &record : records) {
        SCOPED_TRACE(record);
        const Result r = Cli({"-p", link, "provision", "--id-from", "5", "--count", "2", "--record", QString::fromStdString(record)});
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("cannot write the record"), std::string::npos) << r.err;
    }
    std::ifstream theirs(other);
    std::string line;
    std::getline(theirs, line);
    EXPECT_EQ(line, "theirs");
    EXPECT_EQ(ValueOf(QueryFields(sim), "id"), "1"); // the reader was never set
}

// An ID range that ends before the count is reached is a failure, said so.
TEST(CliProvision, RunningOutOfIdsBeforeTheCountFails)
{
    TempDir dir;
    const QString link = QString::fromStdString((dir.Path() / "reader").string());
    ReaderSim sim({"--link", link});
    const Result r = Cli({"-p", link, "provision", "--id-from", "240", "--count", "2"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "ok      id=240\n");
    EXPECT_NE(r.err.find("the next ID would pass 240"), std::string::npos) << r.err;
}

// A reader whose port is there but cannot be opened (another program holds
// it): after a few looks it is a failed reader, recorded with the reason,
// and the next reader on the port is set.
TEST(CliProvision, APortThatWillNotOpenFailsItsReaderAndTheNextIsSet)
{
    TempDir dir;
    const QString link = QString::fromStdString((dir.Path() / "reader").string());
    const QString record = QString::fromStdString((dir.Path() / "site.csv").string());
    auto first = std::make_unique<ReaderSim>(QStringList{"--link", link});
    auto holder = std::make_unique<rovi::SerialLink>();
    holder->SetPortName(link.toStdString());
    holder->StartPort(); // exclusive: the tool's opens are refused
    QProcess cli;
    cli.start(QStringLiteral(ROVI_CLI_PATH),
              {"-p", link, "provision", "wiegand=34", "--id-from", "5", "--record", record, "--count", "1"});
    ASSERT_TRUE(cli.waitForStarted());
    std::string out, err;
    ASSERT_TRUE(WaitUntil([&] {
        out += cli.readAllStandardOutput().toStdString();
        err += cli.readAllStandardError().toStdString();
        return err.find("unplug this reader") != std::string::npos;
    }, 10000)) << out << err;
    EXPECT_EQ(out.rfind("FAILED  id=5 wiegand=34  (cannot open " + link.toStdString() + ": busy", 0), 0u) << out;
    holder.reset();
    first.reset(); // unplugged
    ASSERT_TRUE(WaitUntil([&] {
        err += cli.readAllStandardError().toStdString();
        return err.find("waiting for") != std::string::npos;
    }, 10000)) << err;
    ReaderSim second({"--link", link});
    ASSERT_TRUE(cli.waitForFinished(10000)) << err;
    out += cli.readAllStandardOutput().toStdString();
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_NE(out.find("\nok      id=5 wiegand=34\n"), std::string::npos) << out; // the failed reader's ID, again
    std::ifstream csv(record.toStdString());
    std::string header, failed, ok;
    std::getline(csv, header);
    std::getline(csv, failed);
    std::getline(csv, ok);
    EXPECT_NE(failed.find(",failed,"), std::string::npos) << failed;
    EXPECT_NE(failed.find("busy"), std::string::npos) << failed;
    EXPECT_NE(ok.find(",ok,\"00\",\"5\",\"34\","), std::string::npos) << ok;
}

namespace {

// A line that answers a command with given bytes: what a reader, a wrong
// device or a loopback plug would send.
struct Answer {
    std::vector<std::string> writes; // each its own burst, 300 ms apart
    bool echo = false;               // the command's own bytes first
};

Result CliAnswered(const QStringList &command, const Answer &answer)
{
    Pty pty;
    std::thread line([&] {
        const std::string got = pty.Read(kFrameSize, 5000);
        if (answer.echo)
            pty.Write(got);
        for (std::size_t i = 0; i < answer.writes.size(); ++i) {
            if (i > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
            pty.Write(answer.writes[i]);
        }
    });
    const Result r = Cli(QStringList{"-p", QString::fromStdString(pty.SlavePath())} + command);
    line.join();
    return r;
}

const std::string kReport("\xFE\xF1\x00\x01\x41\x01\x04\x20\x03\x05\x6F\xFF", 12);
const std::string kAccepted("\xFE\xF1\x00\xFF", 4);
const std::string kRefused("\xFE\xF1\x02\xFF", 4);
const std::string kCard("0123\r\n");

} // namespace

namespace {

struct ReplyRow {
    const char *name; // the row's test name
    QStringList command;
    Answer answer;
    int code;
};

class CliReplies : public testing::TestWithParam<ReplyRow> {};

} // namespace

// Only a reader's reply frame counts, wherever it sits in what comes back;
// junk, a copy of the command and the wrong kind of reply do not.
TEST_P(CliReplies, OnlyAWholeReplyFrameOfTheRightKindCounts)
{
    const ReplyRow &row = GetParam();
    const Result r = CliAnswered(row.command, row.answer);
    EXPECT_EQ(r.code, row.code) << r.err;
    const bool junk =
        row.code == 6 && row.answer.writes.size() == 1 && row.answer.writes[0].substr(0, 2) != std::string("\xFE\xF1");
    if (junk) {
        EXPECT_NE(r.err.find("not a reader's reply"), std::string::npos) << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CliReplies,
    testing::Values(ReplyRow{"query_report", {"query"}, {{kReport}}, 0},
                    ReplyRow{"query_card_then_report_one_chunk", {"query"}, {{kCard + kReport}}, 0},
                    ReplyRow{"query_report_in_two_bursts", {"query"}, {{kReport.substr(0, 5), kReport.substr(5)}}, 0},
                    ReplyRow{"query_card_then_report_later", {"query"}, {{kCard, kReport}}, 0},
                    ReplyRow{"query_twelve_nul_bytes", {"query"}, {{std::string(12, '\0')}}, 6},
                    ReplyRow{"query_own_echo_loopback_plug", {"query"}, {{}, true}, 6},
                    ReplyRow{"query_echo_then_report", {"query"}, {{kReport}, true}, 0},
                    ReplyRow{"query_acknowledgement", {"query"}, {{kAccepted}}, 6},
                    ReplyRow{"query_silence", {"query"}, {{}}, 4},
                    ReplyRow{"reset_accepted", {"reset"}, {{kAccepted}}, 0},
                    ReplyRow{"reset_refused", {"reset"}, {{kRefused}}, 5},
                    ReplyRow{"reset_12_34_00_56", {"reset"}, {{std::string("\x12\x34\x00\x56", 4)}}, 6},
                    ReplyRow{"reset_00_00_00_00", {"reset"}, {{std::string(4, '\0')}}, 6},
                    ReplyRow{"reset_report", {"reset"}, {{kReport}}, 6},
                    ReplyRow{"set_card_and_acknowledgement", {"set", "id=3"}, {{kCard + kAccepted}}, 0},
                    ReplyRow{"set_00_00_00_00", {"set", "id=3"}, {{std::string(4, '\0')}}, 6}),
    [](const testing::TestParamInfo<ReplyRow> &info) { return std::string(info.param.name); });

// monitor --timeout ends after that much silence (exit 4); --cards prints
// every chunk that is not a reply, a binary card as its hex line.
TEST(CliMonitor, TimeoutEndsItAndBinaryCardsShowAsHex)
{
    Pty pty;
    std::thread line([&] {
        // The monitor has set the line's rate: its flush of what came before is done.
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (pty.LineSpeed() != B19200 && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        pty.Write(std::string("\x02\x12\x9A\xBC\x17\xF0\x03", 7)); // 标准格式: binary, no digit among its bytes
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // chunks apart
        pty.Write(kAccepted); // a reply: no card
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        pty.Write(kCard);
    });
    const Result r =
        Cli({"-p", QString::fromStdString(pty.SlavePath()), "-b", "19200", "monitor", "--cards", "--timeout", "2500"});
    line.join();
    EXPECT_EQ(r.code, 4) << r.err;
    EXPECT_EQ(r.out, "02 12 9A BC 17 F0 03\n0123\n");
}

TEST(CliSend, PrintsTheFirstChunkThatComesBack)
{
    ReaderSim sim;
    const Result r = Cli(On(sim, {"send", "FE F1 00 00 00 00 00 00 00 00 00 FF"}));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "FE F1 00 01 41 01 04 20 03 05 6F FF\nA\n"); // 0x41 is the digit A
}

// The reader pulled out while rovi-cli waits for its reply: exit 1, said so.
TEST(CliQuery, AHangupWhileWaitingEndsWithExitOne)
{
    ReaderSim sim;
    sim.Command("drop\n");
    QProcess cli;
    cli.start(QStringLiteral(ROVI_CLI_PATH), On(sim, {"--timeout", "5000", "query"}));
    ASSERT_TRUE(cli.waitForStarted());
    // Once rovi-cli holds the port, the reader goes away.
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto holders = HoldersOf(sim.Path());
            return std::any_of(holders.begin(), holders.end(),
                               [&](const PortHolder &h) { return h.pid == static_cast<pid_t>(cli.processId()); });
        },
        5000));
    sim.Command("hangup\n");
    ASSERT_TRUE(WaitUntil([&] { return cli.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_NE(cli.readAllStandardError().indexOf("the port went away"), -1);
}

// rovi-cli scan: readers at 115200 and 1200 found in one search, each at
// its rate; a silent line only gives 4; no port to open, 3.
TEST(CliScan, FindsReadersAtTheirRatesAndSaysWhenNoneAnswers)
{
    ReaderSim fast({"--baud", "115200"});
    ReaderSim slow({"--baud", "1200"});
    Pty silent;
    const QString silent_path = QString::fromStdString(silent.SlavePath());
    Result r = Cli({"scan", "--port", QString::fromStdString(fast.Path()), "--port",
                    QString::fromStdString(slow.Path()), "--port", silent_path});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("found   " + fast.Path() + "  baud=115200  id=1 wiegand=26"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("found   " + slow.Path() + "  baud=1200  id=1 wiegand=26"), std::string::npos)
        << r.out << r.err << "the 1200 reader's log:\n" << slow.Log();
    EXPECT_NE(r.err.find("no reader answered on " + silent.SlavePath()), std::string::npos) << r.err;

    r = Cli({"scan", "--port", silent_path, "--baud", "9600", "--baud", "19200"});
    EXPECT_EQ(r.code, 4) << r.err;
    EXPECT_EQ(r.out, "");

    TempDir dir;
    r = Cli({"scan", "--port", QString::fromStdString(dir.Absent())});
    EXPECT_EQ(r.code, 3) << r.err;
    EXPECT_NE(r.err.find("no such device"), std::string::npos) << r.err;

    r = Cli({"scan", "--baud", "300"});
    EXPECT_EQ(r.code, 2) << r.err;
}

// A reader at 19200 behind ser2net: a query over raw TCP (the server's
// line at the reader's rate), and scans over RFC 2217 (rate after rate,
// each sent to the server) and over raw TCP (asked once).
TEST(CliDeviceServer, QueryOverTcpAndScanOverBoth)
{
    ReaderSim sim({"--baud", "19200"});
    Result r;
    {
        Ser2Net raw(sim.Path(), Ser2Net::Mode::Raw, 19200);
        r = Cli({"-p", QString::fromStdString(raw.Url()), "-b", "19200", "query"});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find("Baud rate      19200 baud"), std::string::npos) << r.out;
        r = Cli({"scan", "--port", QString::fromStdString(raw.Url())});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find("found   " + raw.Url() + "  baud=19200"), std::string::npos) << r.out;
    }
    Ser2Net telnet(sim.Path(), Ser2Net::Mode::Rfc2217, 9600);
    r = Cli({"scan", "--port", QString::fromStdString(telnet.Url())});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("found   " + telnet.Url() + "  baud=19200"), std::string::npos) << r.out << r.err;
    r = Cli({"-p", "tcp://127.0.0.1:" + QString::number(FreeTcpPort()), "query"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("connection refused"), std::string::npos) << r.err;
}

// rovi-cli scan against readers that keep a real line's timing: a reader
// at 2400 is reported at 2400 when 1200 is asked after it, and one at 1200
// is found after four slower-to-faster rates.
TEST(CliScan, SlowReadersWithRealLineTimingAreReportedAtTheirRates)
{
    ReaderSim at2400({"--baud", "2400", "--wire", "20"});
    Result r = Cli({"scan", "--port", QString::fromStdString(at2400.Path()), "--baud", "2400", "--baud", "1200"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("found   " + at2400.Path() + "  baud=2400"), std::string::npos) << r.out << r.err;
    ReaderSim at1200({"--baud", "1200", "--wire", "5"});
    r = Cli({"scan", "--port", QString::fromStdString(at1200.Path()), "--baud", "9600", "--baud", "4800", "--baud", "2400",
             "--baud", "1200"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("found   " + at1200.Path() + "  baud=1200"), std::string::npos) << r.out << r.err;
}
