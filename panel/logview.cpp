#include "logview.h"

#include "logviewaccessible.h"

#include "ui/quietscrollbar.h"
#include "ui/throttle.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <limits>

namespace rovi::panel {

namespace {

constexpr int kMargin = LogView::kTextMargin;

} // namespace

LogView::LogView(QWidget *parent)
    : QAbstractScrollArea(parent), refresh_(new Throttle(this, kRefreshMs, [this] { Refresh(); })),
      scroll_bars_(new Throttle(this, kScrollBarMs, [this] { SyncScrollBars(); }))
{
    InstallLogViewAccessibility();
    setVerticalScrollBar(new QuietScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new QuietScrollBar(Qt::Horizontal, this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (syncing_ && follow_)
            return; // the bar catching up with the newest lines the view already shows
        if (!syncing_)
            follow_ = false; // the user scrolled: the view stays there until the next line
        RepaintAll();
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

void LogView::ResetFontCache()
{
    ascii_ready_ = false;
    widest_stale_ = true;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        widths_[i] = WidthOf(lines_[i]);
    ScheduleRefresh();
}

void LogView::PrepareAdvances() const
{
    if (ascii_ready_)
        return;
    const QFontMetricsF metrics(font());
    for (std::size_t i = 0; i < ascii_advances_.size(); ++i)
        ascii_advances_[i] = metrics.horizontalAdvance(QChar(static_cast<char16_t>(i)));
    ascii_ready_ = true;
}

qreal LogView::Advance(QChar c) const
{
    PrepareAdvances();
    if (static_cast<std::size_t>(c.unicode()) < ascii_advances_.size())
        return ascii_advances_[c.unicode()];
    return QFontMetricsF(font()).horizontalAdvance(c);
}

qreal LogView::WidthOf(const QString &line) const
{
    // The logs hold ASCII: a table look-up a character.
    PrepareAdvances();
    qreal width = 0;
    const auto *c = line.utf16();
    const auto *end = c + line.size();
    for (; c != end; ++c)
        width += *c < ascii_advances_.size() ? ascii_advances_[*c] : Advance(QChar(*c));
    return width;
}

int LogView::RowHeight() const
{
    return QFontMetrics(font()).lineSpacing();
}

void LogView::AppendLine(const QString &line)
{
    lines_.push_back(line);
    widths_.push_back(WidthOf(line));
    characters_ += line.size();
    follow_ = true; // each new line is brought into view, as a memo does
    widest_ = std::max(widest_, widths_.back());
    // The line bound, and a bound on the characters kept, for long lines.
    while (static_cast<int>(lines_.size()) > limit_ || (characters_ > character_limit_ && lines_.size() > 1))
        DropOldest();
    ScheduleRefresh();
}

void LogView::DropOldestLines(int count)
{
    for (int i = 0; i < count && !lines_.empty(); ++i)
        DropOldest();
    ScheduleRefresh();
}

void LogView::SetCharacterLimit(qsizetype characters)
{
    character_limit_ = std::max<qsizetype>(1, characters);
}

void LogView::DropOldest()
{
    if (widths_.front() >= widest_)
        widest_stale_ = true;
    characters_ -= lines_.front().size();
    lines_.pop_front();
    ++dropped_;
    widths_.pop_front();
    // The selection moves with its text; once its first line has left, what
    // is left of it is not what the user selected, so it goes.
    if (anchor_ != cursor_ && std::min(anchor_, cursor_).line == 0) {
        anchor_ = cursor_ = {};
        return;
    }
    anchor_.line = std::max(0, anchor_.line - 1);
    cursor_.line = std::max(0, cursor_.line - 1);
}

void LogView::ClearLines()
{
    dropped_ += lines_.size();
    lines_.clear();
    widths_.clear();
    characters_ = 0;
    widest_ = 0;
    anchor_ = cursor_ = {};
    SyncScrollBars();
    Refresh();
}

QStringList LogView::Lines() const
{
    return QStringList(lines_.begin(), lines_.end());
}

QString LogView::toPlainText() const
{
    return Lines().join(QLatin1Char('\n'));
}

void LogView::SetLineLimit(int lines)
{
    limit_ = std::max(1, lines);
    while (static_cast<int>(lines_.size()) > limit_)
        DropOldest();
    widest_stale_ = true;
    anchor_ = cursor_ = {};
    SyncScrollBars();
    Refresh();
}

void LogView::ScheduleRefresh()
{
    // Lines arriving one after another cost one refresh per period, not one each.
    // A paint still due would draw the lines as they are now, not as the
    // refresh that asked for it left them: it repaints them all instead.
    if (paint_due_)
        RepaintAll();
    refresh_->Request();
}

int LogView::VisibleRows() const
{
    return std::max(1, (viewport()->height() - kMargin) / std::max(1, RowHeight()));
}

int LogView::TopLine() const
{
    // While following, the view shows the newest lines whatever the scroll
    // bar says yet: it catches up at its own, slower pace.
    if (follow_)
        return std::max(0, LineCount() - VisibleRows());
    return verticalScrollBar()->value();
}

void LogView::RepaintAll()
{
    viewport()->update();
    paint_due_ = true;
}

LogView::Shown LogView::Showing() const
{
    const int top = TopLine();
    const int rows = viewport()->height() / std::max(1, RowHeight()) + 1;
    return {dropped_ + static_cast<std::uint64_t>(top), std::clamp(LineCount() - top, 0, rows), RowHeight(),
            horizontalScrollBar()->value(), viewport()->size(), std::min(anchor_, cursor_), std::max(anchor_, cursor_)};
}

void LogView::Refresh()
{
    // Following the newest lines, the rows already painted only move up:
    // move their pixels and paint the rows that came into view.
    const Shown now = Showing();
    Shown moved = now;
    if (shown_)
        moved.top = shown_->top;
    const std::uint64_t by = shown_ && now.top > shown_->top ? now.top - shown_->top : 0;
    const int row_height = std::max(1, RowHeight());
    // Pixels still waiting for a paint are not moved: only what was painted is.
    if (follow_ && !paint_due_ && shown_ && *shown_ == moved && by > 0 &&
        by < static_cast<std::uint64_t>(VisibleRows())) {
        viewport()->scroll(0, -static_cast<int>(by) * row_height);
        const int first_new = VisibleRows() - static_cast<int>(by);
        const int y = kMargin / 2 + first_new * row_height;
        viewport()->update(QRect(0, y, viewport()->width(), viewport()->height() - y));
        paint_due_ = true;
        ++scrolled_refreshes_;
    } else if (!shown_ || *shown_ != now) {
        RepaintAll();
    }
    shown_ = now;
    scroll_bars_->Request();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::TextUpdated);
        QAccessible::updateAccessibility(&changed);
    }
}

void LogView::SyncScrollBars()
{
    if (widest_stale_) {
        widest_ = widths_.empty() ? 0 : *std::max_element(widths_.begin(), widths_.end());
        widest_stale_ = false;
    }
    const int rows = VisibleRows();
    syncing_ = true;
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setRange(0, std::max(0, LineCount() - rows));
    const int text_width = viewport()->width() - 2 * kMargin;
    horizontalScrollBar()->setPageStep(std::max(1, text_width));
    horizontalScrollBar()->setSingleStep(std::max(1, static_cast<int>(Advance(QLatin1Char('0')))));
    horizontalScrollBar()->setRange(0, std::max(0, static_cast<int>(std::ceil(widest_)) - text_width));
    if (follow_)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    syncing_ = false;
}

void LogView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    SyncScrollBars();
    Refresh();
}

void LogView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        shaped_.clear();
        ResetFontCache();
    }
}

void LogView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const int row_height = RowHeight();
    const int ascent = QFontMetrics(font()).ascent();
    const int first = TopLine();
    const int rows = viewport()->height() / std::max(1, row_height) + 1;
    const qreal left = kMargin - horizontalScrollBar()->value();
    const qreal right_edge = viewport()->width();
    const Position from = std::min(anchor_, cursor_);
    const Position to = std::max(anchor_, cursor_);
    const QPalette &pal = palette();
    // Only the rows the paint asks for (a scrolled refresh asks for the
    // newest); the shaped text of the other rows in view is kept.
    const int first_row = std::max(0, (event->rect().top() - kMargin / 2) / std::max(1, row_height));
    const int last_row = std::min(rows - 1, (event->rect().bottom() - kMargin / 2) / std::max(1, row_height));
    const std::uint64_t top_key = dropped_ + static_cast<std::uint64_t>(first);
    shaped_.erase(shaped_.begin(), shaped_.lower_bound(RowKey{top_key, 0, 0}));
    shaped_.erase(shaped_.lower_bound(RowKey{top_key + static_cast<std::uint64_t>(rows), 0, 0}), shaped_.end());
    if (event->rect() == viewport()->rect())
        shown_ = Showing();
    paint_due_ = false;
    for (int r = first_row; r <= last_row && first + r < LineCount(); ++r) {
        const int line = first + r;
        const QString &text = lines_[static_cast<std::size_t>(line)];
        const int top = kMargin / 2 + r * row_height;
        // The characters in view: skip those left of it, stop past its right edge.
        int begin = 0;
        qreal x = left;
        while (begin < text.size() && x + Advance(text[begin]) < 0)
            x += Advance(text[begin++]);
        const qreal x_begin = x;
        int end = begin;
        while (end < text.size() && x < right_edge)
            x += Advance(text[end++]);
        // The selected part of this row, highlighted.
        if (from != to && line >= from.line && line <= to.line) {
            const int sel_begin = line == from.line ? from.column : 0;
            const int sel_end = line == to.line ? to.column : static_cast<int>(text.size()) + 1;
            qreal sx = left;
            for (int i = 0; i < sel_begin && i < text.size(); ++i)
                sx += Advance(text[i]);
            qreal ex = sx;
            for (int i = sel_begin; i < sel_end && i < text.size(); ++i)
                ex += Advance(text[i]);
            if (sel_end > text.size())
                ex += Advance(QLatin1Char(' ')); // the line's end is selected too
            painter.fillRect(QRectF(sx, top, ex - sx, row_height), pal.brush(QPalette::Highlight));
        }
        painter.setPen(pal.color(QPalette::Text));
        // The row's shaped text is kept from the last paint while it shows
        // the same characters: following the newest lines, most rows do.
        const RowKey key{dropped_ + static_cast<std::uint64_t>(line), begin, end};
        auto cached = shaped_.find(key);
        if (cached == shaped_.end()) {
            // Another part of this line was in view: it is not any more.
            shaped_.erase(shaped_.lower_bound(RowKey{key.line, 0, 0}), shaped_.lower_bound(RowKey{key.line + 1, 0, 0}));
            QStaticText shaped(text.mid(begin, end - begin));
            shaped.setTextFormat(Qt::PlainText);
            shaped.prepare(QTransform(), font());
            cached = shaped_.emplace(key, std::move(shaped)).first;
        }
        painter.drawStaticText(QPointF(x_begin, top), cached->second);
        if (from != to && line >= from.line && line <= to.line) {
            // Selected characters in the highlight's text colour.
            const int sel_begin = std::max(begin, line == from.line ? from.column : 0);
            const int sel_end = std::min(end, line == to.line ? to.column : static_cast<int>(text.size()));
            if (sel_begin < sel_end) {
                qreal sx = x_begin;
                for (int i = begin; i < sel_begin; ++i)
                    sx += Advance(text[i]);
                painter.setPen(pal.color(QPalette::HighlightedText));
                painter.drawText(QPointF(sx, top + ascent), text.mid(sel_begin, sel_end - sel_begin));
            }
        }
    }
}

LogView::Position LogView::PositionAt(const QPoint &point) const
{
    if (lines_.empty())
        return {};
    const int row = std::max(0, point.y() - kMargin / 2) / std::max(1, RowHeight());
    const int line = std::clamp(TopLine() + row, 0, LineCount() - 1);
    const QString &text = lines_[static_cast<std::size_t>(line)];
    qreal x = kMargin - horizontalScrollBar()->value();
    int column = 0;
    while (column < text.size()) {
        const qreal advance = Advance(text[column]);
        if (point.x() < x + advance / 2)
            break;
        x += advance;
        ++column;
    }
    return {line, column};
}

void LogView::Select(Position anchor, Position cursor)
{
    anchor_ = anchor;
    cursor_ = cursor;
    RepaintAll();
    if (QAccessible::isActive()) {
        QAccessibleTextSelectionEvent changed(this, SelectionOffsets().first, SelectionOffsets().second);
        QAccessible::updateAccessibility(&changed);
    }
}

void LogView::SelectAll()
{
    if (lines_.empty())
        return;
    Select({0, 0}, {LineCount() - 1, static_cast<int>(lines_.back().size())});
}

QString LogView::SelectedText() const
{
    const Position from = std::min(anchor_, cursor_);
    const Position to = std::max(anchor_, cursor_);
    if (from == to || lines_.empty())
        return {};
    QString text;
    for (int line = from.line; line <= to.line && line < LineCount(); ++line) {
        const QString &row = lines_[static_cast<std::size_t>(line)];
        const int begin = line == from.line ? from.column : 0;
        const int end = line == to.line ? to.column : static_cast<int>(row.size());
        text += row.mid(begin, end - begin);
        if (line != to.line)
            text += QLatin1Char('\n');
    }
    return text;
}

void LogView::Copy() const
{
    const QString text = SelectedText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

int LogView::OffsetOf(Position p) const
{
    int offset = 0;
    for (int line = 0; line < p.line && line < LineCount(); ++line)
        offset += static_cast<int>(lines_[static_cast<std::size_t>(line)].size()) + 1;
    return offset + p.column;
}

LogView::Position LogView::PositionOf(int offset) const
{
    for (int line = 0; line < LineCount(); ++line) {
        const int length = static_cast<int>(lines_[static_cast<std::size_t>(line)].size());
        if (offset <= length)
            return {line, std::max(0, offset)};
        offset -= length + 1;
    }
    return lines_.empty() ? Position{} : Position{LineCount() - 1, static_cast<int>(lines_.back().size())};
}

std::pair<int, int> LogView::SelectionOffsets() const
{
    return {OffsetOf(std::min(anchor_, cursor_)), OffsetOf(std::max(anchor_, cursor_))};
}

void LogView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    const Position at = PositionAt(event->position().toPoint());
    Select(event->modifiers() & Qt::ShiftModifier ? anchor_ : at, at);
}

void LogView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        Select(anchor_, PositionAt(event->position().toPoint()));
}

void LogView::mouseReleaseEvent(QMouseEvent *event)
{
    event->setAccepted(event->button() == Qt::LeftButton);
}

void LogView::MoveCursor(Position to, bool extend)
{
    if (lines_.empty())
        return;
    to.line = std::clamp(to.line, 0, LineCount() - 1);
    to.column = std::clamp(to.column, 0, static_cast<int>(lines_[static_cast<std::size_t>(to.line)].size()));
    Select(extend ? anchor_ : to, to);
    // Keep the cursor's row in view.
    SyncScrollBars();
    QScrollBar *v = verticalScrollBar();
    if (to.line < v->value())
        v->setValue(to.line);
    else if (to.line >= v->value() + v->pageStep())
        v->setValue(to.line - v->pageStep() + 1);
}

void LogView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    Position to = cursor_;
    const int page = verticalScrollBar()->pageStep();
    switch (event->key()) {
    case Qt::Key_Left:
        if (to.column > 0)
            --to.column;
        else if (to.line > 0)
            to = {to.line - 1, static_cast<int>(lines_[static_cast<std::size_t>(to.line - 1)].size())};
        break;
    case Qt::Key_Right:
        if (!lines_.empty() && to.column < lines_[static_cast<std::size_t>(to.line)].size())
            ++to.column;
        else if (to.line + 1 < LineCount())
            to = {to.line + 1, 0};
        break;
    case Qt::Key_Up: --to.line; break;
    case Qt::Key_Down: ++to.line; break;
    case Qt::Key_PageUp: to.line -= page; break;
    case Qt::Key_PageDown: to.line += page; break;
    case Qt::Key_Home: to = ctrl ? Position{0, 0} : Position{to.line, 0}; break;
    case Qt::Key_End:
        to = ctrl && !lines_.empty() ? Position{LineCount() - 1, static_cast<int>(lines_.back().size())}
                                     : Position{to.line, std::numeric_limits<int>::max()};
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    MoveCursor(to, extend);
}

void LogView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    FillContextMenu(menu);
    menu.exec(event->globalPos());
}

void LogView::FillContextMenu(QMenu &menu)
{
    QAction *copy = menu.addAction(tr("复制(&C)"), this, [this] { Copy(); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!SelectedText().isEmpty());
    QAction *all = menu.addAction(tr("全选(&A)"), this, [this] { SelectAll(); });
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(!lines_.empty());
}

} // namespace rovi::panel
