#include "captionroom.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace rovi {

namespace {

constexpr int kEdge = 2;

// A caption as it is shown: "&&" is an ampersand, a lone "&" marks the
// accelerator and is not drawn.
QString ShownCaption(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && ++i == text.size())
            break;
        shown += text[i];
    }
    return shown;
}

// Keeps one button's caption fitted: the place it starts from, refitted
// when the button's font or style changes, and the tooltip it gave the
// button when the caption could not fit (a tooltip of the program's own is
// left alone).
class CaptionFitter : public QObject {
public:
    explicit CaptionFitter(QAbstractButton &button) : QObject(&button), button_(button)
    {
        button.installEventFilter(this);
    }

    void Fit(const QRect &place)
    {
        place_ = place;
        Fit();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &button_ && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
            Fit();
        return false;
    }

private:
    void Fit()
    {
        const QWidget *parent = button_.parentWidget();
        const int needed = CaptionWidth(button_);
        const QRect place = PlaceForCaption(place_, needed, parent ? parent->width() : place_.right() + 1);
        button_.setGeometry(place);
        const QString tip = needed > place.width() ? ShownCaption(button_.text()) : QString();
        if (button_.toolTip() == said_ && tip != said_) {
            button_.setToolTip(tip);
            said_ = tip;
        }
    }

    QAbstractButton &button_;
    QRect place_;
    QString said_; // the tooltip this fitter set, empty for none
};

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
        return button.fontMetrics().horizontalAdvance(ShownCaption(button.text())) + 2 * margin;
    }
    return button.sizeHint().width();
}

void FitCaption(QAbstractButton &button, const QRect &place)
{
    CaptionFitter *fitter = nullptr;
    for (QObject *child : button.children())
        if ((fitter = dynamic_cast<CaptionFitter *>(child)))
            break;
    if (!fitter)
        fitter = new CaptionFitter(button);
    fitter->Fit(place);
}

} // namespace rovi
