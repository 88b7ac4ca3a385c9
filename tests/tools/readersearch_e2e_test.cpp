// The reader search against simulated readers, each its own process on a
// pseudo-terminal. (Qt starts processes with vfork, which ThreadSanitizer
// cannot follow, so these run in the plain and ASan suites; the search's
// rules, and a search of a pseudo-terminal alone, run under TSan too, in
// tests/serial/readersearch_test.cpp.)
#include "serial/readersearch.h"
#include "tests/support/portfree.h"
#include "tests/support/pty.h"
#include "tests/support/qtwait.h"
#include "tests/support/readersim.h"

#include <gtest/gtest.h>

#include <set>

#include <map>
#include <memory>

using namespace rovi;
using namespace rovi::test;

namespace {

struct Outcome {
    std::map<std::string, int> found; // port -> rate
    std::vector<std::string> silent;
    std::vector<std::string> failed;
    bool finished = false;
};

void Listen(ReaderSearch &search, Outcome &o)
{
    QObject::connect(&search, &ReaderSearch::found, [&](const QString &port, int rate, const Frame &report) {
        EXPECT_TRUE(VerifyReport(report));
        o.found[port.toStdString()] = rate;
    });
    QObject::connect(&search, &ReaderSearch::portSilent, [&](const QString &port) { o.silent.push_back(port.toStdString()); });
    QObject::connect(&search, &ReaderSearch::portFailed, [&](const QString &port, int) { o.failed.push_back(port.toStdString()); });
    QObject::connect(&search, &ReaderSearch::finished, [&] { o.finished = true; });
}

} // namespace

// Two readers at different rates, a silent line and a line that answers
// garbage at every rate tried: both readers are found at their rates, the
// others are not taken for readers, and every port is let go.
TEST(ReaderSearch, FindsEachReaderAtItsRateAndNothingElse)
{
    ReaderSim fast({"--baud", "115200"});
    ReaderSim slow({"--baud", "1200"});
    ReaderSim garbage({"--baud", "4800"}); // 4800 is not among the rates tried
    Pty silent;
    const std::vector<int> rates = SearchRateOrder({1200, 2400, 9600, 19200, 38400, 57600, 115200}, std::nullopt);
    ReaderSearch search;
    Outcome o;
    Listen(search, o);
    search.Start({fast.Path(), slow.Path(), garbage.Path(), silent.SlavePath()}, rates);
    ASSERT_TRUE(WaitUntil([&] { return o.finished; }, 15000));
    EXPECT_EQ(o.found, (std::map<std::string, int>{{fast.Path(), 115200}, {slow.Path(), 1200}}));
    EXPECT_EQ(std::set<std::string>(o.silent.begin(), o.silent.end()),
              (std::set<std::string>{garbage.Path(), silent.SlavePath()}));
    EXPECT_EQ(o.silent.size(), 2u); // each said once
    EXPECT_TRUE(o.failed.empty());
    EXPECT_FALSE(search.Running());
    for (const std::string &port : {fast.Path(), slow.Path(), garbage.Path(), silent.SlavePath()})
        EXPECT_TRUE(test::PortFree(port)) << port;
}

// A search stopped halfway lets every port go; a port that cannot be
// opened is said so and the others go on.
TEST(ReaderSearch, AStoppedSearchLetsEveryPortGo)
{
    Pty silent;
    ReaderSim reader({"--baud", "1200"});
    const std::string absent = "/nonexistent/ttyUSB9";
    ReaderSearch search;
    Outcome o;
    Listen(search, o);
    search.Start({silent.SlavePath(), reader.Path(), absent}, SearchRateOrder({115200, 57600, 1200}, std::nullopt));
    EXPECT_EQ(o.failed, std::vector<std::string>{absent});
    EXPECT_TRUE(search.Running());
    EXPECT_FALSE(test::PortFree(silent.SlavePath())); // held while searched
    search.Stop();
    EXPECT_FALSE(search.Running());
    EXPECT_TRUE(test::PortFree(silent.SlavePath()));
    EXPECT_TRUE(test::PortFree(reader.Path()));
    Pump(500); // nothing of the stopped search arrives afterwards
    EXPECT_TRUE(o.found.empty());
}

// A report whose checksum does not verify is no reader found.
TEST(ReaderSearch, AReportWithAWrongChecksumIsNotAReaderFound)
{
    ReaderSim reader;
    reader.Command("badsum\n");
    ReaderSearch search;
    Outcome o;
    Listen(search, o);
    search.Start({reader.Path()}, {9600});
    ASSERT_TRUE(WaitUntil([&] { return o.finished; }, 5000));
    EXPECT_TRUE(o.found.empty());
    EXPECT_EQ(o.silent, std::vector<std::string>{reader.Path()});
}

// Readers that keep a real line's timing (reader-sim --wire): the query
// crosses the line, the reader waits 5 or 20 ms, its report crosses back
// byte by byte at its rate. Each slow reader, all searched at once over
// every rate, is found at its own rate, never at the next one asked.
TEST(ReaderSearch, ReadersWithRealLineTimingAreFoundAtTheirOwnRates)
{
    struct Row {
        int rate;
        int delay_ms;
    };
    const Row rows[] = {{1200, 5}, {1200, 20}, {2400, 5}, {2400, 20}, {4800, 5}, {4800, 20}, {9600, 20}, {19200, 20}};
    std::vector<std::unique_ptr<ReaderSim>> readers;
    std::vector<std::string> ports;
    std::map<std::string, int> expected;
    for (const Row &r : rows) {
        readers.push_back(std::make_unique<ReaderSim>(
            QStringList{"--baud", QString::number(r.rate), "--wire", QString::number(r.delay_ms)}));
        ports.push_back(readers.back()->Path());
        expected[ports.back()] = r.rate;
    }
    const std::vector<int> all(std::begin(kBaudRateValues), std::end(kBaudRateValues));
    ReaderSearch search;
    Outcome o;
    Listen(search, o);
    search.Start(ports, SearchRateOrder(all, std::nullopt));
    ASSERT_TRUE(WaitUntil([&] { return o.finished; }, 20000));
    EXPECT_EQ(o.found, expected);
    EXPECT_TRUE(o.silent.empty());
}
