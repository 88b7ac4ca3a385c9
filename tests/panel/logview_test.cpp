#include "panel/logview.h"
#include "ui/quietscrollbar.h"
#include "ui/throttle.h"
#include "tests/support/qtwait.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace rovi::panel;

namespace {

QAccessibleTextInterface *TextOf(LogView &view)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&view);
    return a ? a->textInterface() : nullptr;
}

} // namespace

TEST(LogView, KeepsItsBoundDroppingTheOldestLines)
{
    LogView view(nullptr);
    view.SetLineLimit(3);
    for (const char *line : {"one", "", "three", "four", "five"})
        view.AppendLine(line);
    EXPECT_EQ(view.LineCount(), 3);
    EXPECT_EQ(view.Lines(), (QStringList{"three", "four", "five"}));
    view.ClearLines();
    EXPECT_EQ(view.LineCount(), 0);
    view.AppendLine("");
    EXPECT_EQ(view.LineCount(), 1); // an empty first line is a line
}

TEST(LogView, KeepsFewerLinesWhenTheyAreLong)
{
    LogView view(nullptr);
    const QString half(LogView::kMaxCharacters / 2 + 1, QLatin1Char('A'));
    view.AppendLine("short");
    view.AppendLine(half);
    EXPECT_EQ(view.LineCount(), 2);
    view.AppendLine(half); // past the bound on characters: the oldest leave
    EXPECT_EQ(view.LineCount(), 1);
    const QString whole(LogView::kMaxCharacters + 5, QLatin1Char('B'));
    view.AppendLine(whole); // the newest line is always kept
    EXPECT_EQ(view.LineCount(), 1);
    EXPECT_EQ(view.Lines().front().size(), whole.size());
}

// Old lines leaving a full log never turn a selection into text the user
// did not select: it moves with its lines, or goes with them.
TEST(LogView, ASelectionMovesWithItsTextOrGoesWhenItsLinesLeave)
{
    LogView view(nullptr);
    view.SetLineLimit(100);
    for (int i = 0; i < 100; ++i)
        view.AppendLine(QStringLiteral("line %1").arg(i));
    view.Select({0, 0}, {1, 4});
    ASSERT_EQ(view.SelectedText(), "line 0\nline");
    view.AppendLine("a");
    EXPECT_EQ(view.SelectedText(), ""); // its first line left
    view.AppendLine("b");
    view.AppendLine("c");
    EXPECT_EQ(view.SelectedText(), "");

    view.Select({50, 5}, {51, 6});
    const QString selected = view.SelectedText();
    ASSERT_EQ(selected, "53\nline 5");
    for (int i = 0; i < 3; ++i)
        view.AppendLine("more");
    EXPECT_EQ(view.SelectedText(), selected);
}

TEST(LogView, ItsTextAndSelectionAreReadableThroughAccessibility)
{
    LogView view(nullptr);
    view.setAccessibleName("十六进制记录");
    view.resize(200, 100);
    view.show();
    view.AppendLine("FE F1 00 FF");
    view.AppendLine("");
    view.AppendLine("0D 0A");
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(QAccessible::Name), "十六进制记录");
    EXPECT_TRUE(a->state().readOnly);
    EXPECT_TRUE(a->state().multiLine);
    QAccessibleTextInterface *text = TextOf(view);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 18);
    EXPECT_EQ(text->text(0, text->characterCount()), "FE F1 00 FF\n\n0D 0A");
    text->setSelection(0, 3, 14);
    EXPECT_EQ(view.SelectedText(), "F1 00 FF\n\n0");
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 14);
}

TEST(LogView, CopiesTheSelectionMadeWithMouseOrKeyboard)
{
    LogView view(nullptr);
    view.resize(300, 120);
    view.show();
    for (const char *line : {"30 31 32", "33 34", "35"})
        view.AppendLine(line);
    QTest::qWait(2 * LogView::kRefreshMs); // the view catches up with the lines

    // Keyboard: from the start of the first line, Shift+Down and Shift+End, Ctrl+C.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "30 31 32\n33 34");

    // Mouse: a drag within the first row, from its left edge into it.
    const int row = view.fontMetrics().lineSpacing();
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(1, row / 2));
    QMouseEvent move(QEvent::MouseMove,
                     QPointF(view.fontMetrics().horizontalAdvance("30 3") + LogView::kTextMargin, row / 2),
                     view.viewport()->mapToGlobal(QPointF(0, 0)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton);
    EXPECT_EQ(view.SelectedText(), "30 3");

    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    view.Copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "30 31 32\n33 34\n35");
}

TEST(LogView, FollowsTheNewestLine)
{
    LogView view(nullptr);
    view.resize(200, 80);
    view.show();
    for (int i = 0; i < 100; ++i)
        view.AppendLine(QString::number(i));
    QScrollBar *v = view.verticalScrollBar();
    // The scroll bars follow at their pace: wait until they have.
    EXPECT_TRUE(rovi::test::WaitUntil([&] { return v->maximum() > 0 && v->value() == v->maximum(); }, 5000));
    v->setValue(0); // scrolled back, a new line brings the view to the end again
    ASSERT_EQ(v->value(), 0);
    view.AppendLine("100");
    EXPECT_TRUE(rovi::test::WaitUntil([&] { return v->value() > 0 && v->value() == v->maximum(); }, 5000));
}

// Following the newest lines, a refresh moves the rows already painted and
// paints only those that came into view: after every refresh, what is on
// the screen is what a whole repaint draws. The screen is compared only
// where no whole repaint came since the last look, so a scroll by the wrong
// number of rows (or none) shows.
TEST(LogView, ScrolledRefreshesShowWhatAWholeRepaintShows)
{
    LogView view(nullptr);
    view.resize(300, 160);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    struct PaintWatch : QObject {
        QWidget *viewport;
        bool whole = false; // a paint of the whole viewport since the last look
        explicit PaintWatch(QWidget *v) : viewport(v) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint &&
                QRegion(viewport->rect()).subtracted(static_cast<QPaintEvent *>(e)->region()).isEmpty())
                whole = true;
            return false;
        }
    } watch(view.viewport());
    view.viewport()->installEventFilter(&watch);
    const QRect area = view.viewport()->geometry();
    int next = 0;
    int compared = 0;
    for (int step = 0; step < 20; ++step) {
        const long long scrolled = view.ScrolledRefreshes();
        watch.whole = false;
        for (int i = 0; i <= step % 3; ++i, ++next) // one, two or three lines a refresh
            view.AppendLine(QStringLiteral("line %1 %2").arg(next).arg(QString(next % 7, QLatin1Char('#'))));
        rovi::test::Pump(LogView::kRefreshMs + 20);
        if (watch.whole || view.ScrolledRefreshes() == scrolled)
            continue;
        ++compared;
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(view.winId()).toImage().copy(area);
        const QImage whole = view.grab(area).toImage();
        ASSERT_EQ(screen.size(), whole.size());
        EXPECT_TRUE(screen.convertToFormat(QImage::Format_RGB32) == whole.convertToFormat(QImage::Format_RGB32))
            << "after line " << next - 1;
    }
    EXPECT_EQ(view.Lines().back(), QStringLiteral("line %1 %2").arg(next - 1).arg(QString((next - 1) % 7, QLatin1Char('#'))));
    EXPECT_GE(compared, 6); // many refreshes took the short way, and each was looked at
}

// A long log's slider no longer moves by a pixel a line: the bar keeps its
// range and value current without repainting; a change that shows repaints.
TEST(QuietScrollBar, RepaintsOnlyWhenWhatItShowsChanges)
{
    rovi::QuietScrollBar bar(Qt::Vertical, nullptr);
    bar.resize(16, 300);
    bar.setPageStep(15);
    bar.setRange(0, 100000);
    bar.setValue(100000);
    bar.show();
    int paints = 0;
    struct PaintCounter : QObject {
        int *count;
        explicit PaintCounter(int *c) : count(c) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                ++*count;
            return false;
        }
    } counter(&paints);
    bar.installEventFilter(&counter);
    ASSERT_TRUE(rovi::test::WaitUntil([&] { return bar.isVisible(); }));
    rovi::test::Pump(50);
    paints = 0;

    bar.setRange(0, 100001); // a line more: the slider stays on its pixels
    bar.setValue(100001);
    rovi::test::Pump(50);
    EXPECT_EQ(paints, 0);
    EXPECT_EQ(bar.maximum(), 100001);
    EXPECT_EQ(bar.value(), 100001);
    EXPECT_EQ(bar.SkippedRepaints(), 2);

    bar.setValue(0); // the slider goes to the top: painted
    EXPECT_TRUE(rovi::test::WaitUntil([&] { return paints > 0; }, 2000));
    paints = 0;
    bar.setRange(0, 20); // a short range: a longer slider, painted
    EXPECT_TRUE(rovi::test::WaitUntil([&] { return paints > 0; }, 2000));
}

TEST(Throttle, RunsAtOnceThenOnceAtTheEndOfABurst)
{
    int runs = 0;
    rovi::Throttle throttle(nullptr, 50, [&] { ++runs; });
    throttle.Request();
    EXPECT_EQ(runs, 1); // the first request runs at once
    for (int i = 0; i < 10; ++i)
        throttle.Request();
    EXPECT_EQ(runs, 1);
    QTest::qWait(300);
    EXPECT_EQ(runs, 2); // the burst ran once more, at the period's end
    QTest::qWait(300);
    EXPECT_EQ(runs, 2); // and nothing after
    throttle.Request();
    EXPECT_EQ(runs, 3); // a period after the last run: at once again
}

