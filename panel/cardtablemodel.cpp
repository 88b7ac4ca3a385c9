#include "cardtablemodel.h"

#include "logview.h"

#include "base/localtime.h"
#include "protocol/cardsheet.h"
#include "ui/qtext.h"
#include "ui/throttle.h"

#include <QApplication>
#include <QPalette>
#include <QTimer>

#include <algorithm>

namespace rovi::panel {

namespace {

qint64 Millis(CardTally::TimePoint when)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
}

// "14:03:07": the times the table shows (the CSV file keeps milliseconds).
QString Shown(CardTally::TimePoint when)
{
    return ToQ(LocalClock(when)).left(8);
}

} // namespace

CardTableModel::CardTableModel(QObject *parent, Now now)
    : QAbstractTableModel(parent), now_(now ? std::move(now) : Now([] { return Clock::now(); })), tally_(now_()),
      refresh_(new Throttle(this, LogView::kRefreshMs, [this] { Refresh(); })), ageing_(new QTimer(this))
{
    ageing_->setInterval(kAgeingMs);
    connect(ageing_, &QTimer::timeout, this, [this] { Refresh(); });
}

void CardTableModel::AddRead(std::string_view card, Clock::time_point when)
{
    tally_.Add(card, when);
    const int rows = static_cast<int>(tally_.Size());
    if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    }
    refresh_->Request();
}

void CardTableModel::Clear()
{
    beginResetModel();
    tally_.Clear(now_());
    rows_ = 0;
    endResetModel();
    ageing_->stop();
    emit totalsChanged();
}

void CardTableModel::SetLeaveAfter(std::chrono::milliseconds after)
{
    tally_.SetLeaveAfter(after, now_());
    Refresh();
}

void CardTableModel::Refresh()
{
    tally_.Advance(now_());
    std::vector<std::size_t> changed = tally_.TakeChanged();
    std::sort(changed.begin(), changed.end());
    // One signal for each run of neighbouring rows.
    for (std::size_t i = 0; i < changed.size();) {
        std::size_t j = i;
        while (j + 1 < changed.size() && changed[j + 1] == changed[j] + 1)
            ++j;
        emit dataChanged(index(static_cast<int>(changed[i]), 0), index(static_cast<int>(changed[j]), kCardColumns - 1));
        i = j + 1;
    }
    emit totalsChanged();
    if (tally_.Still())
        ageing_->stop();
    else if (!ageing_->isActive())
        ageing_->start();
}

void CardTableModel::Retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, kCardColumns - 1);
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, kCardColumns - 1));
    emit totalsChanged();
}

int CardTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int CardTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kCardColumns;
}

QVariant CardTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return {};
    const CardTally::Card &card = tally_.At(static_cast<std::size_t>(index.row()));
    const auto column = static_cast<CardColumn>(index.column());
    if (role == Qt::ForegroundRole)
        return card.left ? QVariant(QApplication::palette().brush(QPalette::Disabled, QPalette::Text)) : QVariant();
    if (role == Qt::TextAlignmentRole) {
        const bool number = column == CardColumn::Reads || column == CardColumn::MeanInterval ||
                            column == CardColumn::PerMinute;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role == kSortRole) {
        switch (column) {
        case CardColumn::Card: return ToQ(card.text);
        case CardColumn::Reads: return QVariant::fromValue<qulonglong>(card.reads);
        case CardColumn::First: return Millis(card.first);
        case CardColumn::Last: return Millis(card.last);
        case CardColumn::MeanInterval: {
            const auto interval = CardTally::MeanInterval(card);
            return QVariant::fromValue<qint64>(interval ? interval->count() : -1);
        }
        case CardColumn::PerMinute: return card.last_minute;
        case CardColumn::State: return card.left ? 1 : 0;
        }
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (column) {
    case CardColumn::Card: return ToQ(card.text);
    case CardColumn::Reads: return QString::number(card.reads);
    case CardColumn::First: return Shown(card.first);
    case CardColumn::Last: return Shown(card.last);
    case CardColumn::MeanInterval: {
        const std::string seconds = IntervalSeconds(card);
        return seconds.empty() ? QString() : tr("%1 秒").arg(ToQ(seconds));
    }
    case CardColumn::PerMinute: return QString::number(card.last_minute);
    case CardColumn::State: return ToQ(CardStateText(card.left));
    }
    return {};
}

QVariant CardTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kCardColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return ToQ(CardColumnTitle(static_cast<CardColumn>(section)));
}

} // namespace rovi::panel
