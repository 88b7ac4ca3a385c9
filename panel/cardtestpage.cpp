#include "cardtestpage.h"

#include "protocol/cardsheet.h"
#include "ui/messages.h"
#include "ui/qtext.h"
#include "ui/retranslate.h"
#include "ui/savefile.h"

#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace rovi::panel {

namespace {

// The columns' first widths, in characters of the table's font; the card
// number takes what is left.
constexpr int kColumnChars[kCardColumns] = {0, 8, 10, 10, 10, 8, 6};

} // namespace

CardTestPage::CardTestPage(QWidget *parent, CardTableModel::Now now)
    : QWidget(parent), model_(new CardTableModel(this, std::move(now))),
      totals_(new QLabel(this)), unlisted_(new QLabel(this)), leaveAfter_(new QDoubleSpinBox(this)),
      clearButton_(new QPushButton(this)), exportButton_(new QPushButton(this)), table_(new QTableView(this))
{
    setObjectName(QStringLiteral("cardTestPage"));
    totals_->setObjectName(QStringLiteral("cardTotals"));
    unlisted_->setObjectName(QStringLiteral("unlistedReads"));
    unlisted_->hide();
    leaveAfter_->setObjectName(QStringLiteral("leaveAfter"));
    leaveAfter_->setRange(0.5, 3600.0);
    leaveAfter_->setDecimals(1);
    leaveAfter_->setSingleStep(0.5);
    leaveAfter_->setValue(std::chrono::duration<double>(CardTally::kDefaultLeaveAfter).count());
    auto *leave_label = new QLabel(this);
    leave_label->setObjectName(QStringLiteral("leaveAfterLabel"));
    leave_label->setBuddy(leaveAfter_);
    clearButton_->setObjectName(QStringLiteral("clearCardsButton"));
    exportButton_->setObjectName(QStringLiteral("exportCardsButton"));

    auto *sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(model_);
    sorted->setSortRole(CardTableModel::kSortRole);
    sorted->setDynamicSortFilter(true);
    table_->setObjectName(QStringLiteral("cardTable"));
    table_->setModel(sorted);
    table_->setSortingEnabled(true);
    table_->sortByColumn(static_cast<int>(CardColumn::First), Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    QHeaderView *header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(static_cast<int>(CardColumn::Card), QHeaderView::Stretch);
    for (int column = 1; column < kCardColumns; ++column)
        header->resizeSection(column, table_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * kColumnChars[column] + 12);

    auto *top = new QHBoxLayout;
    top->addWidget(totals_, 1);
    top->addWidget(leave_label);
    top->addWidget(leaveAfter_);
    top->addWidget(clearButton_);
    top->addWidget(exportButton_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(unlisted_);
    layout->addWidget(table_, 1);

    connect(model_, &CardTableModel::totalsChanged, this, [this] { ShowTotals(); });
    connect(leaveAfter_, &QDoubleSpinBox::valueChanged, this, [this](double seconds) {
        model_->SetLeaveAfter(std::chrono::milliseconds(std::llround(seconds * 1000)));
    });
    connect(clearButton_, &QPushButton::clicked, model_, &CardTableModel::Clear);
    connect(exportButton_, &QPushButton::clicked, this, Guarded(this, [this] { Export(); }));

    Retranslated(this, [this, leave_label] {
        leave_label->setText(tr("离开时间："));
        leaveAfter_->setSuffix(tr(" 秒"));
        leaveAfter_->setToolTip(tr("超过这么久没有读到的卡显示为“离开”"));
        clearButton_->setText(tr("清空"));
        clearButton_->setToolTip(tr("清空表格，开始新的测试"));
        exportButton_->setText(tr("导出…"));
        model_->Retranslate();
    });
}

void CardTestPage::ShowTotals()
{
    const CardTally &tally = model_->Tally();
    totals_->setText(tr("卡片 %1 张　读卡 %2 次　当前每秒 %3 次")
                         .arg(tally.Size())
                         .arg(tally.TotalReads())
                         .arg(tally.ReadsPerSecond(), 0, 'f', 1));
    unlisted_->setVisible(tally.UnlistedReads() > 0);
    if (tally.UnlistedReads() > 0)
        unlisted_->setText(ToQ(UnlistedText(tally.UnlistedReads())));
}

bool CardTestPage::ExportTo(const QString &path, QString *why)
{
    model_->Refresh(); // the file holds what the table shows now
    return SaveWholeFile(path, CardsCsv(model_->Tally()), why);
}

void CardTestPage::Export()
{
    const QString path =
        QFileDialog::getSaveFileName(this, tr("导出读卡测试"), tr("读卡测试.csv"), tr("CSV 文件 (*.csv)"));
    QString why;
    if (!path.isEmpty() && !ExportTo(path, &why))
        Warn(this, tr("无法写入 %1").arg(path) + QLatin1Char('\n') + why);
}

} // namespace rovi::panel
