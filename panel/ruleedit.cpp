#include "ruleedit.h"

#include "mirrorrules.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>

namespace rovi::panel {

namespace {

// True while an exit rule gives the focus back to its box: the focus leaving
// the box it had just reached is the cancelled move, not an exit.
bool g_cancelling_move = false;

// Eats the mouse press that was moving the focus to a control when the move
// was cancelled, and its release, so a button is neither left drawn pressed
// nor clicked by a stray release. It goes once the press is over.
class PressSwallower : public QObject {
public:
    explicit PressSwallower(QWidget *target) : QObject(target) { target->installEventFilter(this); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (QApplication::mouseButtons() == Qt::NoButton)
                deleteLater(); // released meanwhile (inside a message box's loop)
            return true;
        case QEvent::MouseButtonRelease:
            deleteLater();
            return true;
        default:
            return false;
        }
    }
};

} // namespace

RuleEdit::RuleEdit(QWidget *parent, Filter filter, int length_limit) : QLineEdit(parent), filter_(filter)
{
    if (length_limit > 0)
        setMaxLength(length_limit); // as the platform's limit: typing, pasting and input methods alike
}

void RuleEdit::Refocus()
{
    g_cancelling_move = true;
    setFocus(Qt::OtherFocusReason);
    g_cancelling_move = false;
    selectAll();
}

bool RuleEdit::RejectsTyping(const QKeyEvent *event) const
{
    const QString typed = event->text();
    if (typed.isEmpty() || filter_ != Filter::Digits)
        return false; // arrows, Delete, Home, End, Tab: no character typed
    // Ctrl+C, Ctrl+V, Ctrl+X and the other Ctrl chords type control
    // characters, which the filter discards like any other character.
    for (QChar c : typed)
        if (!DigitFilterAccepts(c.unicode()))
            return true;
    return false;
}

void RuleEdit::keyPressEvent(QKeyEvent *event)
{
    if (RejectsTyping(event)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// An input method's committed text passes the digit filter character by
// character, as typed characters do; what is still being composed is shown
// as it is.
void RuleEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (filter_ != Filter::Digits || event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QString kept;
    for (QChar c : event->commitString())
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            kept += c;
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

void RuleEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Opening a popup or a message box, leaving the window, or Alt moving
    // the focus to the menu bar is not going to another control.
    const Qt::FocusReason reason = event->reason();
    if (!OnExit || g_cancelling_move || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason ||
        reason == Qt::MenuBarFocusReason)
        return;
    QWidget *next = QApplication::focusWidget();
    if (next == nullptr || next == this || next->window() != window())
        return;
    const QPointer<QWidget> target(next);
    const bool by_mouse = reason == Qt::MouseFocusReason && QApplication::mouseButtons() != Qt::NoButton;
    OnExit();
    if (!hasFocus() || !target)
        return; // the move stands
    if (auto *button = qobject_cast<QAbstractButton *>(target.data()))
        button->setDown(false);
    if (by_mouse)
        new PressSwallower(target);
}

} // namespace rovi::panel
