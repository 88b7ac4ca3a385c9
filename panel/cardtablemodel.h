#pragma once

#include "protocol/cardtally.h"

#include <QAbstractTableModel>

#include <functional>
#include <string_view>

class QTimer;

namespace rovi {
class Throttle;
}

namespace rovi::panel {

// The card test's table: one row a card (CardTally), its columns those of
// CardColumn. A new card's row appears at once; counts and ages follow at
// the logs' pace, and while a card is present or a read is in the last
// minute the table looks at the clock on its own, so cards leave and the
// minute empties without reads.
class CardTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Clock = CardTally::Clock;
    // What time it is: the system clock, or a test's.
    using Now = std::function<Clock::time_point()>;

    // The role that sorts: numbers and times as numbers.
    static constexpr int kSortRole = Qt::UserRole;
    // How often the table looks at the clock while time alone changes it.
    static constexpr int kAgeingMs = 250;

    explicit CardTableModel(QObject *parent, Now now = {});

    void AddRead(std::string_view card, Clock::time_point when);
    // 清空: a new test from now.
    void Clear();
    void SetLeaveAfter(std::chrono::milliseconds after);
    // Shows what time changed now, not at the next look.
    void Refresh();
    // The column titles and the cells' words follow the window's language.
    void Retranslate();

    const CardTally &Tally() const { return tally_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The totals above the table may have changed.
    void totalsChanged();

private:
    Now now_;
    CardTally tally_;
    int rows_ = 0; // the rows the views know of
    Throttle *refresh_;
    QTimer *ageing_;
};

} // namespace rovi::panel
