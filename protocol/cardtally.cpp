#include "cardtally.h"

#include "cardread.h"

#include <algorithm>

namespace rovi {

namespace {

std::int64_t SecondOf(CardTally::TimePoint when)
{
    return std::chrono::floor<std::chrono::seconds>(when.time_since_epoch()).count();
}

} // namespace

CardTally::CardTally(TimePoint start)
{
    Clear(start);
}

void CardTally::Clear(TimePoint start)
{
    start_ = now_ = start;
    cards_.clear();
    places_.clear();
    rows_.clear();
    card_bytes_ = 0;
    total_reads_ = unlisted_reads_ = 0;
    minute_.clear();
    oldest_ = newest_ = oldest_present_ = kNone;
    changed_.clear();
}

CardTally::TimePoint CardTally::Later(TimePoint when)
{
    now_ = std::max(now_, when);
    return now_;
}

std::optional<std::size_t> CardTally::Add(std::string_view card, TimePoint when)
{
    when = Later(when);
    ++total_reads_;
    std::uint32_t row = kNone;
    if (const auto found = rows_.find(card); found != rows_.end())
        row = found->second;
    else
        row = NewCard(card, when);
    if (row == kNone) {
        ++unlisted_reads_;
        CountInSecond(kNone, when);
    } else {
        Card &c = cards_[row];
        ++c.reads;
        c.last = when;
        c.left = false;
        // To the newest end of the order of last reads.
        const std::uint32_t next = places_[row].newer;
        Unlink(row);
        LinkNewest(row);
        if (oldest_present_ == row)
            oldest_present_ = next == kNone ? row : next;
        else if (oldest_present_ == kNone)
            oldest_present_ = row;
        CountInSecond(row, when);
        Changed(row);
    }
    ExpireMinute();
    MarkLeft();
    if (row == kNone)
        return std::nullopt;
    return row;
}

std::uint32_t CardTally::NewCard(std::string_view card, TimePoint when)
{
    std::string text = CardText(card);
    const std::size_t bytes = card.size() + text.size();
    if (cards_.size() >= kMaxCards || card_bytes_ + bytes > kMaxCardBytes)
        return kNone;
    card_bytes_ += bytes;
    const auto row = static_cast<std::uint32_t>(cards_.size());
    cards_.push_back(Card{std::move(text), 0, when, when, 0, false});
    places_.push_back(Place{});
    rows_.emplace(std::string(card), row);
    return row;
}

void CardTally::CountInSecond(std::uint32_t row, TimePoint when)
{
    const std::int64_t second = SecondOf(when);
    if (minute_.empty() || minute_.back().index != second)
        minute_.push_back(Second{second, 0, {}});
    Second &now = minute_.back();
    ++now.total;
    if (row == kNone)
        return;
    Place &place = places_[row];
    if (place.second == second) {
        ++now.reads[place.slot].second;
    } else {
        place.second = second;
        place.slot = static_cast<std::uint32_t>(now.reads.size());
        now.reads.emplace_back(row, 1);
    }
    ++cards_[row].last_minute;
}

void CardTally::Unlink(std::uint32_t row)
{
    Place &p = places_[row];
    if (p.older != kNone)
        places_[p.older].newer = p.newer;
    else if (oldest_ == row)
        oldest_ = p.newer;
    if (p.newer != kNone)
        places_[p.newer].older = p.older;
    else if (newest_ == row)
        newest_ = p.older;
    p.older = p.newer = kNone;
}

void CardTally::LinkNewest(std::uint32_t row)
{
    Place &p = places_[row];
    p.older = newest_;
    p.newer = kNone;
    if (newest_ != kNone)
        places_[newest_].newer = row;
    newest_ = row;
    if (oldest_ == kNone)
        oldest_ = row;
}

void CardTally::Changed(std::uint32_t row)
{
    if (!places_[row].changed) {
        places_[row].changed = true;
        changed_.push_back(row);
    }
}

void CardTally::ExpireMinute()
{
    const std::int64_t last_gone = SecondOf(now_) - kMinute.count();
    while (!minute_.empty() && minute_.front().index <= last_gone) {
        for (const auto &[row, count] : minute_.front().reads) {
            cards_[row].last_minute -= count;
            Changed(row);
        }
        minute_.pop_front();
    }
}

void CardTally::MarkLeft()
{
    while (oldest_present_ != kNone && now_ - cards_[oldest_present_].last > leave_after_) {
        cards_[oldest_present_].left = true;
        Changed(oldest_present_);
        oldest_present_ = places_[oldest_present_].newer;
    }
}

void CardTally::Advance(TimePoint now)
{
    Later(now);
    ExpireMinute();
    MarkLeft();
}

void CardTally::SetLeaveAfter(std::chrono::milliseconds after, TimePoint now)
{
    leave_after_ = after;
    Later(now);
    // Cards that left are the oldest in the order of last reads; which those
    // are is looked at again from the start.
    oldest_present_ = kNone;
    for (std::uint32_t row = oldest_; row != kNone; row = places_[row].newer) {
        const bool left = now_ - cards_[row].last > leave_after_;
        if (left != cards_[row].left) {
            cards_[row].left = left;
            Changed(row);
        }
        if (!left && oldest_present_ == kNone)
            oldest_present_ = row;
    }
}

double CardTally::ReadsPerSecond() const
{
    const std::int64_t from = SecondOf(now_) - (kRateSpan.count() - 1);
    std::uint64_t reads = 0;
    for (auto it = minute_.rbegin(); it != minute_.rend() && it->index >= from; ++it)
        reads += it->total;
    const TimePoint since = std::max(start_, TimePoint(std::chrono::seconds(from)));
    const std::chrono::duration<double> span = std::max<Clock::duration>(now_ - since, std::chrono::seconds(1));
    return static_cast<double>(reads) / span.count();
}

bool CardTally::Still() const
{
    return oldest_present_ == kNone && minute_.empty();
}

std::vector<std::size_t> CardTally::TakeChanged()
{
    std::vector<std::size_t> rows(changed_.begin(), changed_.end());
    for (const std::uint32_t row : changed_)
        places_[row].changed = false;
    changed_.clear();
    return rows;
}

std::optional<std::chrono::milliseconds> CardTally::MeanInterval(const Card &card)
{
    if (card.reads < 2)
        return std::nullopt;
    return std::chrono::duration_cast<std::chrono::milliseconds>(card.last - card.first) /
           static_cast<std::int64_t>(card.reads - 1);
}

} // namespace rovi
