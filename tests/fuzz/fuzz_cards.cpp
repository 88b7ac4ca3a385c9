// The card test over any received bytes: the input is a run of chunks, each
// a time step (tenths of a second), a length and that many bytes. Every
// card the read rule finds is the chunk's own start less only CR and LF,
// never a reply or a frame's part; the tally counts every read once,
// listed or not, and its times, minute and leaving agree with its clock.
#include "check.h"

#include "protocol/cardread.h"
#include "protocol/cardtally.h"
#include "protocol/frame.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace rovi;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const auto start = CardTally::TimePoint(std::chrono::seconds(1796000000));
    auto now = start;
    CardReadRule rule;
    CardTally tally(start);
    std::uint64_t cards = 0;
    std::size_t at = 0;
    while (at + 2 <= input.size()) {
        const auto step = static_cast<std::uint8_t>(input[at]);
        const auto length = static_cast<std::uint8_t>(input[at + 1]);
        at += 2;
        const std::string_view chunk = input.substr(at, length);
        at += chunk.size();
        if (step == 0xFF) { // a new leave time instead of a time step
            tally.SetLeaveAfter(std::chrono::milliseconds(100 * length), now);
            continue;
        }
        now += std::chrono::milliseconds(100 * step);
        const auto card = rule.CardIn(chunk);
        if (!card) {
            tally.Advance(now);
            continue;
        }
        FUZZ_CHECK(!card->empty());
        FUZZ_CHECK(card->data() == chunk.data());
        FUZZ_CHECK(card->back() != '\r' && card->back() != '\n');
        FUZZ_CHECK(chunk.substr(card->size()).find_first_not_of("\r\n") == std::string_view::npos);
        FUZZ_CHECK(ReplyByLength(chunk) == ChunkReply::None);
        FUZZ_CHECK(!(chunk.size() <= kFrameSize && chunk.size() >= 2 && static_cast<std::uint8_t>(chunk[0]) == kHead0 &&
                     static_cast<std::uint8_t>(chunk[1]) == kHead1));
        ++cards;
        if (const auto row = tally.Add(*card, now)) {
            FUZZ_CHECK(*row < tally.Size());
            FUZZ_CHECK(tally.At(*row).text == CardText(*card));
            FUZZ_CHECK(tally.At(*row).last == now && !tally.At(*row).left);
        }
    }
    FUZZ_CHECK(tally.TotalReads() == cards);
    std::uint64_t listed = 0;
    for (std::size_t row = 0; row < tally.Size(); ++row) {
        const CardTally::Card &c = tally.At(row);
        listed += c.reads;
        FUZZ_CHECK(c.reads >= 1 && c.last_minute <= c.reads);
        FUZZ_CHECK(c.first <= c.last && c.last <= now);
        FUZZ_CHECK(c.left == (now - c.last > tally.LeaveAfter()));
        if (now - c.last >= CardTally::kMinute + std::chrono::seconds(1))
            FUZZ_CHECK(c.last_minute == 0);
    }
    FUZZ_CHECK(listed + tally.UnlistedReads() == cards);
    FUZZ_CHECK(tally.ReadsPerSecond() >= 0.0);
    return 0;
}
