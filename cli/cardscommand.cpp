#include "cardscommand.h"

#include "readerlink.h"

#include "base/localtime.h"
#include "protocol/cardread.h"
#include "protocol/cardsheet.h"
#include "protocol/cardtally.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <iomanip>
#include <ostream>

namespace rovi::cli {

namespace {

QString Iso(CardTally::TimePoint when)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(ms).toString(Qt::ISODateWithMs);
}

void PrintJson(const CardTally &tally, int seconds, std::ostream &out)
{
    QJsonArray cards;
    for (std::size_t row = 0; row < tally.Size(); ++row) {
        const CardTally::Card &card = tally.At(row);
        const auto interval = CardTally::MeanInterval(card);
        cards.append(QJsonObject{
            {"card", QString::fromStdString(card.text)},
            {"reads", static_cast<qint64>(card.reads)},
            {"first", Iso(card.first)},
            {"last", Iso(card.last)},
            {"mean_interval_ms", interval ? QJsonValue(static_cast<qint64>(interval->count())) : QJsonValue()},
            {"per_minute", static_cast<qint64>(card.last_minute)},
            {"left", card.left},
        });
    }
    const QJsonObject result{{"seconds", seconds},
                             {"reads", static_cast<qint64>(tally.TotalReads())},
                             {"unlisted_reads", static_cast<qint64>(tally.UnlistedReads())},
                             {"cards", cards}};
    out << QJsonDocument(result).toJson(QJsonDocument::Compact).toStdString() << std::endl;
}

void PrintTable(const CardTally &tally, std::ostream &out)
{
    std::size_t width = 4; // "card"
    for (std::size_t row = 0; row < tally.Size(); ++row)
        width = std::max(width, tally.At(row).text.size());
    const auto w = static_cast<int>(width);
    out << std::left << std::setw(w) << "card" << "  " << std::right << std::setw(7) << "reads"
        << "  first         last          interval_s  per_minute  state\n";
    for (std::size_t row = 0; row < tally.Size(); ++row) {
        const CardTally::Card &card = tally.At(row);
        out << std::left << std::setw(w) << card.text << "  " << std::right << std::setw(7) << card.reads << "  "
            << LocalClock(card.first) << "  " << LocalClock(card.last) << "  "
            << std::left << std::setw(10) << IntervalSeconds(card) << "  " << std::setw(10) << card.last_minute
            << "  " << (card.left ? "left" : "present") << "\n";
    }
    out << tally.Size() << " card(s), " << tally.TotalReads() << " read(s)";
    if (tally.UnlistedReads() > 0)
        out << ", " << tally.UnlistedReads() << " of cards not listed (the table was full)";
    out << std::endl;
}

} // namespace

int RunCards(const Invocation &inv, ReaderLink &link, std::ostream &out, std::ostream &err)
{
    CardTally tally(CardTally::Clock::now());
    CardReadRule rule;
    QElapsedTimer listening;
    listening.start();
    const qint64 span_ms = static_cast<qint64>(inv.seconds) * 1000;
    bool gone = false;
    for (qint64 left_ms; (left_ms = span_ms - listening.elapsed()) > 0;) {
        const auto chunk = link.NextChunk(static_cast<int>(left_ms));
        if (!chunk) {
            gone = link.HungUp();
            if (gone)
                break;
            continue;
        }
        if (const auto card = rule.CardIn(*chunk))
            tally.Add(*card, CardTally::Clock::now());
    }
    tally.Advance(CardTally::Clock::now());
    if (inv.json)
        PrintJson(tally, inv.seconds, out);
    else
        PrintTable(tally, out);
    if (gone) {
        err << "rovi-cli: the port went away" << std::endl;
        return kExitFailure;
    }
    if (tally.TotalReads() == 0) {
        err << "rovi-cli: no card was read in " << inv.seconds << " s" << std::endl;
        return kExitNoReply;
    }
    return kExitDone;
}

} // namespace rovi::cli
