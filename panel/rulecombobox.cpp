#include "rulecombobox.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>

namespace rovi::panel {

RuleComboBox::RuleComboBox(QWidget *parent, const QStringList &items) : QComboBox(parent)
{
    setEditable(false);
    addItems(items);
    connect(this, &QComboBox::activated, this, &RuleComboBox::Activated);
}

void RuleComboBox::Activated(int index)
{
    if (index != index_before_ && OnChange)
        OnChange();
    index_before_ = currentIndex();
}

void RuleComboBox::showPopup()
{
    index_before_ = currentIndex();
    if (!filter_installed_) {
        // The popup's container is created on first use; its Hide event marks
        // every close-up exactly once, by click, key or focus loss.
        view()->window()->installEventFilter(this);
        filter_installed_ = true;
    }
    QComboBox::showPopup();
}

bool RuleComboBox::eventFilter(QObject *watched, QEvent *event)
{
    // The popup hides before a picked item becomes the selection; the rule
    // runs once the pick has been committed, so it sees the new selection.
    if (watched == view()->window() && event->type() == QEvent::Hide)
        QMetaObject::invokeMethod(this, [this] {
            if (OnCloseUp)
                OnCloseUp();
        }, Qt::QueuedConnection);
    return QComboBox::eventFilter(watched, event);
}

void RuleComboBox::keyPressEvent(QKeyEvent *event)
{
    index_before_ = currentIndex();
    QComboBox::keyPressEvent(event);
    if (event->key() == Qt::Key_Backspace && OnChange)
        OnChange();
}

void RuleComboBox::wheelEvent(QWheelEvent *event)
{
    index_before_ = currentIndex();
    QComboBox::wheelEvent(event);
}

} // namespace rovi::panel
