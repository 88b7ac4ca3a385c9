#pragma once

// A scroll bar that repaints only when what it shows changes. A log that
// grows by a line moves its range and value with every line, and a plain
// QScrollBar repaints each time, though past a few hundred lines the slider
// stays on the same pixels. This one compares the slider's place, its state
// and whether it has a range at all with what it last showed: it skips the
// repaint when they are the same, and repaints only where the slider was and
// is when nothing else changed. Range and value are always current (for the
// user's hand, the keyboard and accessibility); only the painting is saved.

#include <QRect>
#include <QScrollBar>
#include <QStyle>

#include <optional>

namespace rovi {

class QuietScrollBar : public QScrollBar {
public:
    QuietScrollBar(Qt::Orientation orientation, QWidget *parent);

    // How many slider changes left the picture as it was (for tests and benches).
    long long SkippedRepaints() const { return skipped_; }

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct Picture {
        QRect bar;
        QRect slider;
        QStyle::State state;
        bool empty = false; // no range: drawn disabled
        bool operator==(const Picture &) const = default;
    };
    Picture Current() const;

    std::optional<Picture> shown_;
    long long skipped_ = 0;
};

} // namespace rovi
