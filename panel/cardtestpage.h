#pragma once

#include "cardtablemodel.h"

#include <QWidget>

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableView;

namespace rovi::panel {

// The card test page: which cards the reader reads, how many times, how
// often, and which have left. Above the table the totals, the leave time
// and the two buttons; the table sorts by any column (by first read at
// first). Object names: cardTotals, unlistedReads, leaveAfter,
// clearCardsButton, exportCardsButton, cardTable.
class CardTestPage : public QWidget {
    Q_OBJECT
public:
    explicit CardTestPage(QWidget *parent, CardTableModel::Now now = {});

    CardTableModel &Model() { return *model_; }
    void AddRead(std::string_view card, CardTableModel::Clock::time_point when) { model_->AddRead(card, when); }
    // The table as a CSV file (CardsCsv); false with the reason when it
    // cannot be written.
    bool ExportTo(const QString &path, QString *why);

private:
    void Export(); // 导出…: asks where, then ExportTo
    void ShowTotals();

    CardTableModel *model_;
    QLabel *totals_;
    QLabel *unlisted_;
    QDoubleSpinBox *leaveAfter_;
    QPushButton *clearButton_;
    QPushButton *exportButton_;
    QTableView *table_;
};

} // namespace rovi::panel
