// The reader search: which rates in which order, how long each waits, and
// the search itself against simulated readers on pseudo-terminals.
#include "serial/readersearch.h"
#include "tests/support/portfree.h"
#include "tests/support/pty.h"
#include "tests/support/qtwait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <optional>
#include <thread>

using namespace rovi;
using namespace rovi::test;

TEST(SearchRateOrder, TheLastUsedRateFirstThenTheFactoryRateThenTheFastest)
{
    const std::vector<int> all(std::begin(kBaudRateValues), std::end(kBaudRateValues));
    const struct {
        const char *name;
        std::vector<int> candidates;
        std::optional<int> last;
        std::vector<int> order;
    } rows[] = {
        {"none used", all, std::nullopt, {9600, 115200, 57600, 38400, 19200, 4800, 2400, 1200}},
        {"19200 used", all, 19200, {19200, 9600, 115200, 57600, 38400, 4800, 2400, 1200}},
        {"9600 used", all, 9600, {9600, 115200, 57600, 38400, 19200, 4800, 2400, 1200}},
        {"some rates", {1200, 115200}, 9600, {115200, 1200}},
        {"last not a candidate", {1200, 2400}, 9600, {2400, 1200}},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(SearchRateOrder(r.candidates, r.last), r.order);
    }
}

TEST(SearchWait, BothFramesOnTheWireTheSilenceTheRestAndAMargin)
{
    EXPECT_EQ(SearchWait(1200).count(), 416);  // 120 bits at 1200 baud: 100 ms each way
    EXPECT_EQ(SearchWait(9600).count(), 242);  // 12.5 ms, rounded up, each way
    EXPECT_EQ(SearchWait(115200).count(), 220);
}

namespace {

// A reader played on a pseudo-terminal: it answers a query only when the
// line is at its speed, after `delay_ms`, with a report that names
// `named_rate` in its baud byte.
struct PlayedReader {
    Pty pty;
    std::thread thread;
    std::atomic<bool> stop{false};

    PlayedReader(speed_t speed, int named_rate, int delay_ms)
    {
        thread = std::thread([this, speed, named_rate, delay_ms] {
            FieldBytes fields{0x00, 0x01, 0x41, 0x01, 0x04, 0x20, 0x03, 0x05};
            const auto* at = std::find(std::begin(kBaudRateValues), std::end(kBaudRateValues), named_rate);
            fields[static_cast<std::size_t>(Field::baud)] = EncodeBaud(static_cast<int>(at - std::begin(kBaudRateValues)));
            const Frame report = ComposeSetAll(fields);
            while (!stop) {
                const std::string got = pty.Read(kFrameSize, 50);
                if (got.size() != kFrameSize || got != AsBytes(ComposeQuery()) || pty.LineSpeed() != speed)
                    continue;
                std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
                pty.Write(std::string(AsBytes(report)));
            }
        });
    }
    ~PlayedReader()
    {
        stop = true;
        thread.join();
    }
};

} // namespace

// A report is credited to the rate its baud byte names: one that comes
// after the search has moved on to the next rate is still the reader at the
// rate it answered, and one that names a rate not asked yet answers no query.
TEST(ReaderSearch, AReportIsCreditedToTheRateItNames)
{
    const struct {
        const char *name;
        std::vector<int> rates;
        speed_t reader_speed;
        int named_rate;
        int delay_ms;
        std::optional<int> found;
    } rows[] = {
        {"at once", {115200, 9600}, B9600, 9600, 5, 9600},
        // 300 ms: past the 242 ms that 9600 waits, well inside the 416 of 1200.
        {"late, while the next rate is asked", {9600, 1200}, B9600, 9600, 300, 9600},
        {"naming a rate not asked yet", {9600, 1200}, B9600, 115200, 5, std::nullopt},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        PlayedReader reader(row.reader_speed, row.named_rate, row.delay_ms);
        ReaderSearch search;
        std::optional<int> found;
        bool finished = false;
        QObject::connect(&search, &ReaderSearch::found, [&](const QString &, int rate, const Frame &) { found = rate; });
        QObject::connect(&search, &ReaderSearch::finished, [&] { finished = true; });
        search.Start({reader.pty.SlavePath()}, row.rates);
        ASSERT_TRUE(WaitUntil([&] { return finished; }, 5000));
        EXPECT_EQ(found, row.found);
    }
}

// A silent line: every rate waited out, nothing found, the port let go.
TEST(ReaderSearch, ASilentLineIsSearchedAtEachRateAndLetGo)
{
    Pty silent;
    ReaderSearch search;
    std::vector<int> tried;
    bool silent_said = false, finished = false;
    QObject::connect(&search, &ReaderSearch::trying, [&](const QString &, int rate) { tried.push_back(rate); });
    QObject::connect(&search, &ReaderSearch::portSilent, [&] { silent_said = true; });
    QObject::connect(&search, &ReaderSearch::finished, [&] { finished = true; });
    search.Start({silent.SlavePath()}, {9600, 115200});
    ASSERT_TRUE(WaitUntil([&] { return finished; }, 5000));
    EXPECT_EQ(tried, (std::vector<int>{9600, 115200}));
    EXPECT_TRUE(silent_said);
    EXPECT_TRUE(test::PortFree(silent.SlavePath()));
}
