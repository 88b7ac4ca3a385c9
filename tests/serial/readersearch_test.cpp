// The reader search: which rates in which order, how long each waits, and
// the search itself against simulated readers on pseudo-terminals.
#include "serial/readersearch.h"
#include "tests/support/portfree.h"
#include "tests/support/pty.h"
#include "tests/support/qtwait.h"

#include <gtest/gtest.h>

#include <map>

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

TEST(SearchWait, A150MillisecondMarginPlusTheFrameOnTheWire)
{
    EXPECT_EQ(SearchWait(1200).count(), 250);  // 120 bits at 1200 baud: 100 ms
    EXPECT_EQ(SearchWait(9600).count(), 163);  // 12.5 ms, rounded up
    EXPECT_EQ(SearchWait(115200).count(), 152);
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
