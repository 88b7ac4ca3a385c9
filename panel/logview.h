#pragma once

#include <QAbstractScrollArea>
#include <QStaticText>
#include <QStringList>

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <tuple>

class QMenu;

namespace rovi {
class Throttle;
}

namespace rovi::panel {

// A read-only multi-line log whose cost follows the screen, not the data.
// Lines are kept as data, at most LineLimit of them (the oldest leave
// first, and fewer when they are long; a selection moves with its text and
// is cleared when its first line leaves); painting draws only the rows in view and, of a long row, only the
// characters in view, with widths from cached per-character advances. A
// line is shown at once; while lines keep arriving, the view is brought up
// to date at most ten times a second, following the newest line. It behaves as a read-only text
// box: both scroll bars, selection by mouse and keyboard, Ctrl+C, Ctrl+A, a
// Chinese context menu, and its text open to accessibility tools. An empty
// line is kept as a line of its own (also as the very first line).
class LogView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit LogView(QWidget *parent);

    void AppendLine(const QString &line);
    void ClearLines();
    int LineCount() const { return static_cast<int>(lines_.size()); }
    QStringList Lines() const;
    QString toPlainText() const; // the lines joined by '\n'

    static constexpr int kDefaultLineLimit = 100'000;
    // However long the lines, at most this many characters are kept (the
    // newest line always): a stream of 4096-byte chunks gives hex lines of
    // 12,287 characters.
    static constexpr qsizetype kMaxCharacters = 16 * 1024 * 1024;
    void SetLineLimit(int lines);
    int LineLimit() const { return limit_; }
    // The characters kept; kMaxCharacters unless set otherwise.
    void SetCharacterLimit(qsizetype characters);
    qsizetype CharacterCount() const { return characters_; }
    qsizetype LineSize(int index) const { return lines_[static_cast<std::size_t>(index)].size(); }
    // Drops the oldest lines (at most all of them), for a bound kept by the
    // owner of several logs that must keep the same lines.
    void DropOldestLines(int count);

    // The context menu's items: copy and select all.
    void FillContextMenu(QMenu &menu);

    // The selection, as (line, column) positions; empty when they are equal.
    struct Position {
        int line = 0;
        int column = 0;
        auto operator<=>(const Position &) const = default;
    };
    void SelectAll();
    void Select(Position anchor, Position cursor);
    QString SelectedText() const;
    void Copy() const;
    // Text offsets in toPlainText(), for accessibility tools.
    int OffsetOf(Position p) const;
    Position PositionOf(int offset) const;
    std::pair<int, int> SelectionOffsets() const;

    // Between the frame and the text, on each side (and half of it above
    // the first row).
    static constexpr int kTextMargin = 4;

    static constexpr int kRefreshMs = 100;
    static constexpr int kScrollBarMs = 1000; // the scroll bars follow at this pace

    // How many refreshes moved the painted rows instead of repainting them (for tests and benches).
    long long ScrolledRefreshes() const { return scrolled_refreshes_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void PrepareAdvances() const;
    qreal Advance(QChar c) const;
    void DropOldest();
    qreal WidthOf(const QString &line) const;
    int RowHeight() const;
    int VisibleRows() const;
    int TopLine() const;
    void Refresh(); // repaint; the scroll bars follow
    void SyncScrollBars();
    void ScheduleRefresh();
    Position PositionAt(const QPoint &point) const;
    void MoveCursor(Position to, bool extend);
    void ResetFontCache();

    // A row's place: the line (counted from the first line ever kept) and
    // the characters of it in view.
    struct RowKey {
        std::uint64_t line;
        int begin, end;
        bool operator<(const RowKey &o) const { return std::tie(line, begin, end) < std::tie(o.line, o.begin, o.end); }
    };
    std::map<RowKey, QStaticText> shaped_; // the rows in view at the last paint

    // What the viewport shows (or will, once the update due paints it):
    // a refresh that only moved the newest lines up scrolls these pixels
    // and paints the rows that came into view.
    struct Shown {
        std::uint64_t top = 0; // the first line in view, counted as RowKey::line
        int lines = 0;         // how many lines are in view
        int row_height = 0;
        int across = 0;        // the horizontal scroll value
        QSize size;
        Position from, to;     // the selection
        bool operator==(const Shown &) const = default;
    };
    Shown Showing() const;
    std::optional<Shown> shown_;
    bool paint_due_ = false; // an update asked for has not been painted yet
    long long scrolled_refreshes_ = 0;
    void RepaintAll();
    std::uint64_t dropped_ = 0;             // lines dropped so far

    std::deque<QString> lines_;
    std::deque<qreal> widths_;
    qsizetype characters_ = 0;
    qreal widest_ = 0;
    bool widest_stale_ = false;
    int limit_ = kDefaultLineLimit;
    qsizetype character_limit_ = kMaxCharacters;
    Position anchor_, cursor_;
    Throttle *refresh_;
    Throttle *scroll_bars_;
    bool syncing_ = false;
    bool follow_ = false; // showing the newest lines (a line came since the user scrolled)
    mutable std::array<qreal, 128> ascii_advances_{};
    mutable bool ascii_ready_ = false;
};

} // namespace rovi::panel
