// The card test: which chunks are card reads, how cards are shown and
// tallied, and the CSV file.
#include "protocol/cardread.h"
#include "protocol/cardsheet.h"
#include "protocol/cardtally.h"
#include "protocol/hexstr.h"
#include "base/localtime.h"

#include <gtest/gtest.h>

#include <regex>

using namespace rovi;
using namespace std::chrono_literals;

TEST(CardReadRule, ReadsAreTheChunksThatAreNoReplyNorPartOfOne)
{
    const std::string report = HexToBytes("FE F1 00 05 42 01 04 20 03 45 B4 FF");
    const std::string bad_sum = HexToBytes("FE F1 00 05 42 01 04 20 03 45 B5 FF");
    const std::string card = "0123ABCD\r\n";
    struct Row {
        const char *name;
        std::vector<std::string> chunks; // in the order they came
        std::vector<std::optional<std::string>> cards;
    };
    const std::vector<Row> rows = {
        {"a card in the hex format", {card}, {"0123ABCD"}},
        {"a card in the standard format", {HexToBytes("02 00 BC 61 4E 9F 03")}, {HexToBytes("02 00 BC 61 4E 9F 03")}},
        {"a report", {report}, {std::nullopt}},
        {"an acknowledgement", {HexToBytes("FE F1 00 FF")}, {std::nullopt}},
        // The window takes any four bytes as an acknowledgement.
        {"four bytes of a card", {"1234"}, {std::nullopt}},
        {"a report with a bad checksum", {bad_sum}, {std::nullopt}},
        {"a reply split in two halves", {report.substr(0, 6), report.substr(6)}, {std::nullopt, std::nullopt}},
        {"a card after half a reply", {report.substr(0, 6), card}, {std::nullopt, "0123ABCD"}},
        {"a card after a whole frame", {bad_sum, HexToBytes("31 FF")}, {std::nullopt, "1\xFF"}},
        {"a reply's rest longer than a frame allows", {report.substr(0, 6), HexToBytes("30 31 32 33 34 35 36 FF")},
         {std::nullopt, HexToBytes("30 31 32 33 34 35 36 FF")}},
        {"a card and a reply in one chunk", {card + HexToBytes("FE F1 00 FF")},
         {card + HexToBytes("FE F1 00 FF")}},
        {"a reply and a card in one chunk", {HexToBytes("FE F1 00 FF") + card}, {HexToBytes("FE F1 00 FF") + "0123ABCD"}},
        {"line ends alone", {"\r\n\r"}, {std::nullopt}},
        {"line ends inside stay", {"12\r\n34\r\n"}, {"12\r\n34"}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        CardReadRule rule;
        ASSERT_EQ(r.chunks.size(), r.cards.size());
        for (std::size_t i = 0; i < r.chunks.size(); ++i) {
            const auto found = rule.CardIn(r.chunks[i]);
            EXPECT_EQ(found ? std::optional<std::string>(std::string(*found)) : std::nullopt, r.cards[i]) << "chunk " << i;
        }
    }
}

TEST(CardText, TextWhenEveryByteIsPrintableHexOtherwise)
{
    EXPECT_EQ(CardText("00BC614E"), "00BC614E");
    EXPECT_EQ(CardText("12345678"), "12345678");
    EXPECT_EQ(CardText(HexToBytes("02 00 BC 61 4E 9F 03")), "02 00 BC 61 4E 9F 03");
    EXPECT_EQ(CardText("AB\x7F"), "41 42 7F");
    EXPECT_EQ(CardText("A B~"), "A B~");
}

namespace {

// A test's own clock, from a fixed day.
const CardTally::TimePoint kStart = CardTally::TimePoint(std::chrono::seconds(1796000000));

} // namespace

TEST(CardTally, CountsEachCardWithItsTimesAndMeanInterval)
{
    CardTally tally(kStart);
    EXPECT_EQ(tally.Add("A", kStart + 1s), 0u);
    EXPECT_EQ(tally.Add("B", kStart + 1500ms), 1u);
    EXPECT_EQ(tally.Add("A", kStart + 2s), 0u);
    EXPECT_EQ(tally.Add("A", kStart + 4s), 0u);
    ASSERT_EQ(tally.Size(), 2u);
    const CardTally::Card &a = tally.At(0);
    EXPECT_EQ(a.text, "A");
    EXPECT_EQ(a.reads, 3u);
    EXPECT_EQ(a.first, kStart + 1s);
    EXPECT_EQ(a.last, kStart + 4s);
    EXPECT_EQ(CardTally::MeanInterval(a), 1500ms);
    EXPECT_EQ(CardTally::MeanInterval(tally.At(1)), std::nullopt);
    EXPECT_EQ(tally.TotalReads(), 4u);
    EXPECT_EQ(a.last_minute, 3u);
    // A time that runs back counts as the latest one.
    tally.Add("B", kStart + 3s);
    EXPECT_EQ(tally.At(1).last, kStart + 4s);
}

TEST(CardTally, ACardLeavesWhenNotReadForLongerThanTheLeaveTimeAndComesBack)
{
    CardTally tally(kStart);
    tally.Add("A", kStart);
    tally.Add("B", kStart + 1s);
    tally.TakeChanged();
    tally.Advance(kStart + 3s);
    EXPECT_FALSE(tally.At(0).left) << "exactly the leave time is not longer than it";
    tally.Advance(kStart + 3001ms);
    EXPECT_TRUE(tally.At(0).left);
    EXPECT_FALSE(tally.At(1).left);
    EXPECT_EQ(tally.TakeChanged(), std::vector<std::size_t>{0});
    tally.Add("A", kStart + 3500ms);
    EXPECT_FALSE(tally.At(0).left);
    tally.Advance(kStart + 4500ms);
    EXPECT_TRUE(tally.At(1).left);
    EXPECT_FALSE(tally.At(0).left);
    // A longer leave time brings B back at once; a shorter one sends A away.
    tally.SetLeaveAfter(10s, kStart + 5s);
    EXPECT_FALSE(tally.At(1).left);
    tally.SetLeaveAfter(1s, kStart + 5s);
    EXPECT_TRUE(tally.At(0).left);
    EXPECT_TRUE(tally.At(1).left);
    EXPECT_FALSE(tally.Still()) << "reads are still in the last minute";
    tally.Advance(kStart + 70s);
    EXPECT_TRUE(tally.Still());
}

TEST(CardTally, PerMinuteCountsOnlyTheLastSixtySecondsAndTheRateTheLastTen)
{
    CardTally tally(kStart);
    for (int i = 0; i < 30; ++i) // one read every two seconds for a minute
        tally.Add("A", kStart + std::chrono::seconds(2 * i));
    tally.Add("B", kStart + 59s);
    EXPECT_EQ(tally.At(0).last_minute, 30u);
    tally.Advance(kStart + 70s); // reads at 0 … 10 s have left the minute
    EXPECT_EQ(tally.At(0).last_minute, 24u);
    EXPECT_EQ(tally.At(1).last_minute, 1u);
    tally.Advance(kStart + 200s);
    EXPECT_EQ(tally.At(0).last_minute, 0u);
    EXPECT_EQ(tally.At(0).reads, 30u);

    CardTally rate(kStart);
    for (int i = 0; i < 100; ++i) // ten a second for ten seconds
        rate.Add(std::to_string(i % 7), kStart + std::chrono::milliseconds(100 * i));
    rate.Advance(kStart + 10s);
    EXPECT_NEAR(rate.ReadsPerSecond(), 10.0, 1.5);
    rate.Advance(kStart + 30s);
    EXPECT_EQ(rate.ReadsPerSecond(), 0.0);
    // Half a second into a test, a few reads are a few a second, not thousands.
    CardTally young(kStart);
    young.Add("A", kStart + 100ms);
    young.Add("A", kStart + 500ms);
    EXPECT_EQ(young.ReadsPerSecond(), 2.0);
}

TEST(CardTally, AFullTableCountsTheReadsOfNewCardsItCannotList)
{
    CardTally tally(kStart);
    for (std::size_t i = 0; i < CardTally::kMaxCards; ++i)
        tally.Add(std::to_string(i), kStart);
    EXPECT_EQ(tally.Add("new", kStart + 1s), std::nullopt);
    EXPECT_EQ(tally.Add("new", kStart + 1s), std::nullopt);
    EXPECT_EQ(tally.Add("7", kStart + 1s), 7u) << "listed cards are still counted";
    EXPECT_EQ(tally.Size(), CardTally::kMaxCards);
    EXPECT_EQ(tally.UnlistedReads(), 2u);
    EXPECT_EQ(tally.TotalReads(), CardTally::kMaxCards + 3);

    // Long chunks fill it by their bytes before their number.
    CardTally bytes(kStart);
    const std::string long_card(4096, 'x');
    std::size_t listed = 0;
    for (int i = 0; i < 2000; ++i)
        listed += bytes.Add(long_card + std::to_string(i), kStart).has_value();
    EXPECT_LT(listed, 2000u);
    EXPECT_EQ(bytes.UnlistedReads(), 2000u - listed);
    EXPECT_EQ(bytes.Size(), listed);

    tally.Clear(kStart + 2s);
    EXPECT_EQ(tally.Size(), 0u);
    EXPECT_EQ(tally.TotalReads(), 0u);
    EXPECT_EQ(tally.Add("new", kStart + 3s), 0u);
}

TEST(CardsCsv, ExcelReadyBytes)
{
    CardTally tally(kStart);
    tally.Add("00BC614E", kStart + 1s);
    tally.Add("=1+2", kStart + 1250ms);
    tally.Add("00BC614E", kStart + 2500ms);
    tally.Advance(kStart + 5s);
    const std::string csv = CardsCsv(tally);
    const auto at = [](std::chrono::milliseconds ms) { return LocalDayClock(kStart + ms); };
    EXPECT_EQ(csv, "\xEF\xBB\xBF"
                   "卡号,次数,首次读到,最近读到,平均间隔(秒),每分钟,状态\r\n"
                   "00BC614E,2," + at(1000ms) + "," + at(2500ms) + ",1.50,2,在场\r\n"
                   "'=1+2,1," + at(1250ms) + "," + at(1250ms) + ",,1,离开\r\n");
    // Local time to the millisecond, whatever the zone.
    EXPECT_TRUE(std::regex_match(at(1250ms), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.250)"))) << at(1250ms);
    EXPECT_EQ(at(1250ms).substr(11), LocalClock(kStart + 1250ms));

    CardTally full(kStart);
    for (std::size_t i = 0; i < CardTally::kMaxCards + 3; ++i)
        full.Add(std::to_string(i), kStart);
    const std::string tail = CardsCsv(full).substr(CardsCsv(full).rfind("\r\n", CardsCsv(full).size() - 3) + 2);
    EXPECT_EQ(tail, "3 次读卡未列出,3,,,,,\r\n");
    CardTally quoted(kStart);
    quoted.Add("a,\"b\"", kStart);
    EXPECT_NE(CardsCsv(quoted).find("\r\n\"a,\"\"b\"\"\",1,"), std::string::npos);
}
