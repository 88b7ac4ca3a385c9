#include "logviewaccessible.h"

#include "logview.h"

#include <QAccessibleWidget>
#include <QScrollBar>

namespace rovi::panel {

namespace {

class LogViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LogViewAccessible(LogView *view) : QAccessibleWidget(view, QAccessible::EditableText) {}

    LogView *View() const { return static_cast<LogView *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return View()->toPlainText();
        return QAccessibleWidget::text(t);
    }

    // QAccessibleTextInterface
    void selection(int index, int *start, int *end) const override
    {
        const auto [from, to] = View()->SelectionOffsets();
        *start = index == 0 && from != to ? from : 0;
        *end = index == 0 && from != to ? to : 0;
    }
    int selectionCount() const override
    {
        const auto [from, to] = View()->SelectionOffsets();
        return from != to ? 1 : 0;
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override
    {
        const auto at = View()->PositionOf(cursorPosition());
        View()->Select(at, at);
    }
    void setSelection(int, int start, int end) override
    {
        View()->Select(View()->PositionOf(start), View()->PositionOf(end));
    }
    int cursorPosition() const override { return View()->SelectionOffsets().second; }
    void setCursorPosition(int position) override
    {
        const auto at = View()->PositionOf(position);
        View()->Select(at, at);
    }
    QString text(int start, int end) const override { return View()->toPlainText().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(View()->toPlainText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int start, int) override
    {
        View()->verticalScrollBar()->setValue(View()->PositionOf(start).line);
    }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }
};

QAccessibleInterface *Factory(const QString &class_name, QObject *object)
{
    if (auto *view = dynamic_cast<LogView *>(object); view && object->isWidgetType())
        return new LogViewAccessible(view);
    (void)class_name;
    return nullptr;
}

} // namespace

void InstallLogViewAccessibility()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(Factory);
        installed = true;
    }
}

} // namespace rovi::panel
