#include "quietscrollbar.h"

#include <QStyleOptionSlider>

namespace rovi {

QuietScrollBar::QuietScrollBar(Qt::Orientation orientation, QWidget *parent) : QScrollBar(orientation, parent)
{
}

QuietScrollBar::Picture QuietScrollBar::Current() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    Picture p;
    p.bar = rect();
    p.slider = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    p.state = option.state;
    p.empty = option.minimum == option.maximum;
    return p;
}

void QuietScrollBar::sliderChange(SliderChange change)
{
    const Picture now = Current();
    if (change != SliderOrientationChange && shown_ && *shown_ == now) {
        ++skipped_;
        return;
    }
    // Only the slider moved or changed length: repaint where it was and is.
    const bool only_slider = change != SliderOrientationChange && shown_ && shown_->bar == now.bar &&
                             shown_->state == now.state && shown_->empty == now.empty;
    const QRect changed = only_slider ? shown_->slider.united(now.slider) : QRect();
    shown_ = now;
    if (only_slider)
        update(changed);
    else
        QScrollBar::sliderChange(change);
}

void QuietScrollBar::paintEvent(QPaintEvent *event)
{
    shown_ = Current();
    QScrollBar::paintEvent(event);
}

} // namespace rovi
