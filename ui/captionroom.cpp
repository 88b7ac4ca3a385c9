#include "captionroom.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace rovi {

namespace {

constexpr int kEdge = 2;

} // namespace

QRect PlaceForCaption(const QRect &place, int needed, int room)
{
    if (needed <= place.width())
        return place;
    const int width = std::min(needed, room - 2 * kEdge);
    const int left = std::max(kEdge, std::min(place.x(), room - kEdge - width));
    return QRect(left, place.y(), width, place.height());
}

int CaptionWidth(const QAbstractButton &button)
{
    if (qobject_cast<const QPushButton *>(&button)) {
        // A push button's size hint has a floor of its own: the text and
        // the frame's margins are what it needs.
        const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
        return button.fontMetrics().horizontalAdvance(QString(button.text()).remove(QLatin1Char('&'))) + 2 * margin;
    }
    return button.sizeHint().width();
}

void FitCaption(QAbstractButton &button, const QRect &place)
{
    const QWidget *parent = button.parentWidget();
    button.setGeometry(PlaceForCaption(place, CaptionWidth(button), parent ? parent->width() : place.right() + 1));
}

} // namespace rovi
