// The card test page: rows that follow the reads, cards that leave, the
// sorted table a screen reader reads, and the exported file.
#include "panel/cardtestpage.h"
#include "protocol/cardsheet.h"
#include "protocol/hexstr.h"
#include "tests/support/files.h"
#include "tests/support/filetargets.h"
#include "tests/support/qtwait.h"
#include "tests/support/tempdir.h"

#include <QAccessible>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace rovi;
using namespace std::chrono_literals;

namespace {

// The page with a clock of the test's own, from a fixed moment.
struct PageFixture : ::testing::Test {
    CardTally::TimePoint now = CardTally::TimePoint(std::chrono::seconds(1796000000));
    panel::CardTestPage page{nullptr, [this] { return now; }};
    QTableView *table = page.findChild<QTableView *>("cardTable");

    // What the table shows in `row` (in its order) and `column`.
    QString Shown(int row, CardColumn column, int role = Qt::DisplayRole) const
    {
        return table->model()->index(row, static_cast<int>(column)).data(role).toString();
    }
    int RowOf(const QString &card) const
    {
        for (int row = 0; row < table->model()->rowCount(); ++row)
            if (Shown(row, CardColumn::Card) == card)
                return row;
        return -1;
    }
};

} // namespace

TEST_F(PageFixture, RowsFollowTheReadsAndACardLeftIsGreyed)
{
    page.AddRead("00BC614E", now);
    EXPECT_EQ(table->model()->rowCount(), 1) << "a new card is shown at once";
    now += 1s;
    page.AddRead(HexToBytes("02 00 BC 61 4E 9F 03"), now);
    now += 1s;
    page.AddRead("00BC614E", now);
    const QLabel *totals = page.findChild<QLabel *>("cardTotals");
    ASSERT_TRUE(test::WaitUntil([&] { return totals->text().startsWith("卡片 2 张　读卡 3 次"); }, 2000)) << totals->text().toStdString();
    const int a = RowOf("00BC614E");
    const int b = RowOf("02 00 BC 61 4E 9F 03");
    ASSERT_GE(b, 0) << "binary cards show as spaced hex";
    EXPECT_EQ(Shown(a, CardColumn::MeanInterval), "2.00 秒");
    EXPECT_EQ(Shown(a, CardColumn::PerMinute), "2");
    EXPECT_EQ(Shown(a, CardColumn::State), "在场");
    EXPECT_EQ(Shown(b, CardColumn::MeanInterval), "");
    EXPECT_EQ(Shown(a, CardColumn::Reads), "2");

    // Time alone: B was last read 3.5 s ago, A 2.5 s ago.
    now += 2500ms;
    ASSERT_TRUE(test::WaitUntil([&] { return Shown(RowOf("02 00 BC 61 4E 9F 03"), CardColumn::State) == "离开"; }, 2000));
    EXPECT_EQ(Shown(RowOf("00BC614E"), CardColumn::State), "在场");
    const QVariant grey = table->model()->index(RowOf("02 00 BC 61 4E 9F 03"), 0).data(Qt::ForegroundRole);
    EXPECT_EQ(grey.value<QBrush>().color(), QPalette().color(QPalette::Disabled, QPalette::Text));
    EXPECT_FALSE(table->model()->index(RowOf("00BC614E"), 0).data(Qt::ForegroundRole).isValid());
    // A longer leave time brings it back.
    page.findChild<QDoubleSpinBox *>("leaveAfter")->setValue(10.0);
    EXPECT_EQ(Shown(RowOf("02 00 BC 61 4E 9F 03"), CardColumn::State), "在场");

    // Sorted by reads, most first; then 清空.
    table->sortByColumn(static_cast<int>(CardColumn::Reads), Qt::DescendingOrder);
    EXPECT_EQ(Shown(0, CardColumn::Card), "00BC614E");
    table->sortByColumn(static_cast<int>(CardColumn::Reads), Qt::AscendingOrder);
    EXPECT_EQ(Shown(0, CardColumn::Card), "02 00 BC 61 4E 9F 03");
    page.findChild<QPushButton *>("clearCardsButton")->click();
    EXPECT_EQ(table->model()->rowCount(), 0);
    EXPECT_TRUE(totals->text().startsWith("卡片 0 张　读卡 0 次")) << totals->text().toStdString();
}

TEST_F(PageFixture, ARowReachesAScreenReaderWithItsColumnNames)
{
    page.AddRead("12345678", now);
    page.Model().Refresh();
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(table);
    ASSERT_NE(view, nullptr);
    QAccessibleTableInterface *cells = view->tableInterface();
    ASSERT_NE(cells, nullptr);
    ASSERT_EQ(cells->rowCount(), 1);
    ASSERT_EQ(cells->columnCount(), kCardColumns);
    QAccessibleInterface *cell = cells->cellAt(0, static_cast<int>(CardColumn::Reads));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "1");
    EXPECT_EQ(cells->columnDescription(static_cast<int>(CardColumn::Reads)), "次数");
    EXPECT_EQ(cell->tableCellInterface()->columnIndex(), static_cast<int>(CardColumn::Reads));
    EXPECT_EQ(cells->cellAt(0, 0)->text(QAccessible::Name), "12345678");
}

TEST_F(PageFixture, ExportWritesTheCsvAndRefusesWhatIsNoPlainFile)
{
    test::TempDir dir;
    page.AddRead("00BC614E", now);
    const QString path = QString::fromStdString((dir.Path() / "cards.csv").string());
    QString why;
    ASSERT_TRUE(page.ExportTo(path, &why)) << why.toStdString();
    const std::string saved = test::ReadAll(path.toStdString());
    EXPECT_EQ(saved, CardsCsv(page.Model().Tally()));
    EXPECT_EQ(saved.rfind("\xEF\xBB\xBF卡号,", 0), 0u);
    EXPECT_NE(saved.find("\r\n00BC614E,1,"), std::string::npos);
#ifndef _WIN32
    const QString fifo = QString::fromStdString((dir.Path() / "fifo.csv").string());
    ASSERT_TRUE(test::NotPlainFiles()[0].make(fifo.toStdString(), dir.Path() / "elsewhere"));
    EXPECT_FALSE(page.ExportTo(fifo, &why));
    EXPECT_TRUE(why.contains("FIFO")) << why.toStdString();
#endif
}
