#pragma once

// The card test's tally: every card read since the test began, how often,
// when first and last, how many times in the last minute, and whether it
// has left (not read for longer than the leave time). Plain C++ with the
// clock given in every call, so the window, the command line and the tests
// each bring their own.
//
// Bounded: at most kMaxCards cards and kMaxCardBytes of their bytes are
// listed; reads of further new cards are counted as unlisted, never
// dropped. The minute's reads are held per second and per card, so memory
// follows the cards read in the last minute, not the reads.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rovi {

class CardTally {
public:
    using Clock = std::chrono::system_clock;
    using TimePoint = Clock::time_point;

    struct Card {
        std::string text; // as shown (CardText)
        std::uint64_t reads = 0;
        TimePoint first{};
        TimePoint last{};
        std::uint32_t last_minute = 0; // reads in the last kMinute
        bool left = false;             // not read for longer than the leave time
    };

    static constexpr std::size_t kMaxCards = 100000;
    static constexpr std::size_t kMaxCardBytes = 8 * 1024 * 1024; // their bytes and their shown texts
    static constexpr std::chrono::seconds kMinute{60};
    static constexpr std::chrono::seconds kRateSpan{10}; // "reads per second now" looks this far back
    static constexpr std::chrono::milliseconds kDefaultLeaveAfter{3000};

    explicit CardTally(TimePoint start);

    // One read of `card` (its bytes, see CardReadRule) at `when`. Returns
    // the card's row, or nothing when the card is new and the table full.
    // A time before the latest one given counts as the latest: the tally's
    // clock never runs back.
    std::optional<std::size_t> Add(std::string_view card, TimePoint when);
    // Time passes without reads: reads leave the last minute, cards leave.
    void Advance(TimePoint now);
    // The leave time; every card's state is looked at again at `now`.
    void SetLeaveAfter(std::chrono::milliseconds after, TimePoint now);
    std::chrono::milliseconds LeaveAfter() const { return leave_after_; }
    // A new test from `start`: no cards, no reads.
    void Clear(TimePoint start);

    std::size_t Size() const { return cards_.size(); }
    const Card &At(std::size_t row) const { return cards_[row]; }
    std::uint64_t TotalReads() const { return total_reads_; }
    // Reads of cards the full table could not list.
    std::uint64_t UnlistedReads() const { return unlisted_reads_; }
    // Reads per second over the last kRateSpan (or since the test began,
    // counted as at least a second), at `now` as the last Advance or Add saw it.
    double ReadsPerSecond() const;
    // Nothing changes with time alone: no card present, no read in the last minute.
    bool Still() const;
    // Rows whose shown values changed since the last call, each once.
    std::vector<std::size_t> TakeChanged();

    // The mean time between a card's reads; nothing before its second read.
    static std::optional<std::chrono::milliseconds> MeanInterval(const Card &card);

private:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    struct Second { // the reads of one wall-clock second
        std::int64_t index;
        std::uint64_t total = 0;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> reads; // row, count
    };
    struct Place { // a card in the order of last reads, and in its last second
        std::uint32_t older = kNone;
        std::uint32_t newer = kNone;
        std::int64_t second = -1;
        std::uint32_t slot = 0;
        bool changed = false;
    };

    TimePoint Later(TimePoint when);
    std::uint32_t NewCard(std::string_view card, TimePoint when);
    void CountInSecond(std::uint32_t row, TimePoint when);
    void Unlink(std::uint32_t row);
    void LinkNewest(std::uint32_t row);
    void Changed(std::uint32_t row);
    void ExpireMinute();
    void MarkLeft();

    TimePoint start_;
    TimePoint now_;
    std::chrono::milliseconds leave_after_ = kDefaultLeaveAfter;
    std::vector<Card> cards_;
    std::vector<Place> places_;
    struct Hash { // finds a card by a string_view without copying it
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> rows_;
    std::size_t card_bytes_ = 0;
    std::uint64_t total_reads_ = 0;
    std::uint64_t unlisted_reads_ = 0;
    std::deque<Second> minute_;
    std::uint32_t oldest_ = kNone, newest_ = kNone; // the order of last reads
    std::uint32_t oldest_present_ = kNone;           // cards older than this one have left
    std::vector<std::uint32_t> changed_;
};

} // namespace rovi
