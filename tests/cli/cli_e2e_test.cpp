// rovi-cli as a separate process against the simulated reader on a
// pseudo-terminal.
#include "serial/seriallink.h"
#include "tests/support/qtwait.h"
#include "tests/support/readersim.h"
#include "tests/support/tempdir.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

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

QJsonObject QueryFields(const ReaderSim &sim)
{
    const Result r = Cli(On(sim, {"query", "--json"}));
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
    for (const auto &[field, value] : sets) {
        const QString word = QStringLiteral("%1=%2").arg(field, value);
        const Result r = Cli(On(sim, {"set", word, "--verify"}));
        EXPECT_EQ(r.code, 0) << word.toStdString() << ": " << r.err;
        EXPECT_EQ(ValueOf(QueryFields(sim), field), value) << word.toStdString();
    }
}

TEST(CliSet, SeveralFieldsLeaveTheOthersAsTheyWere)
{
    ReaderSim sim;
    const Result r = Cli(On(sim, {"set", "id=9", "baud=19200"}));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "accepted: id=9 baud=19200\n");
    const QJsonObject fields = QueryFields(sim);
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

TEST(CliSet, RefusalSilenceAndAFailedVerificationHaveTheirCodes)
{
    ReaderSim sim;
    sim.Command("refuse\n");
    Pump(100);
    Result r = Cli(On(sim, {"set", "id=5"}));
    EXPECT_EQ(r.code, 5) << r.err;
    EXPECT_NE(r.err.find("FE F1 02 FF"), std::string::npos);

    sim.Command("drop\n");
    Pump(100);
    r = Cli(On(sim, {"--timeout", "300", "query"}));
    EXPECT_EQ(r.code, 4);
    EXPECT_NE(r.err.find("no reply within 300 ms"), std::string::npos);

    sim.Command("ignore\n");
    Pump(100);
    r = Cli(On(sim, {"set", "id=6", "--verify"}));
    EXPECT_EQ(r.code, 6);
    EXPECT_NE(r.err.find("id is 1, not 6"), std::string::npos) << r.err;

    sim.Command("badsum\n");
    Pump(100);
    r = Cli(On(sim, {"query"}));
    EXPECT_EQ(r.code, 6);
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
    ASSERT_EQ(mkfifo((dir.Path() / "fifo.csv").c_str(), 0644), 0);
    std::filesystem::create_directory(dir.Path() / "folder.csv");
    const struct {
        const char *name;
        std::string path;
    } records[] = {
        {"a missing folder", (dir.Path() / "no-folder" / "site.csv").string()},
        {"a directory", (dir.Path() / "folder.csv").string()},
        {"a FIFO", (dir.Path() / "fifo.csv").string()},
        {"a device", "/dev/full"},
    };
    for (const auto &record : records) {
        SCOPED_TRACE(record.name);
        const Result r =
            Cli({"-p", link, "provision", "--id-from", "5", "--count", "2", "--record", QString::fromStdString(record.path)});
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("cannot write the record"), std::string::npos) << r.err;
    }
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
