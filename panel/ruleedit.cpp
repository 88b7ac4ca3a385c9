#include "ruleedit.h"

#include "mirrorrules.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace rovi::panel {

RuleEdit::RuleEdit(QWidget *parent, Filter filter, int typed_limit)
    : QLineEdit(parent), filter_(filter), typed_limit_(typed_limit)
{
}

void RuleEdit::Refocus()
{
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

bool RuleEdit::RejectsTyping(const QKeyEvent *event) const
{
    const QString typed = event->text();
    if (typed.isEmpty())
        return false; // arrows, Delete, Home, End, Tab: no character typed
    if (filter_ == Filter::Digits) {
        // Ctrl+C, Ctrl+V, Ctrl+X and the other Ctrl chords type control
        // characters, which the filter discards like any other character.
        for (QChar c : typed)
            if (!DigitFilterAccepts(c.unicode()))
                return true;
        return false;
    }
    if (typed_limit_ > 0 && typed.front().isPrint()) {
        const qsizetype kept = text().size() - selectedText().size();
        return kept + typed.size() > typed_limit_;
    }
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

void RuleEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!OnExit || event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    QWidget *next = QApplication::focusWidget();
    if (next == nullptr || next == this || next->window() != window())
        return;
    OnExit();
}

} // namespace rovi::panel
