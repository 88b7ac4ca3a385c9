#pragma once

// Every text a window shows or tells a screen reader, one line each, with
// the place it belongs to: the object path, the property and the text.
// Lists whose rows come from the machine (its serial ports) are left out.

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QWidget>

namespace rovi::test {

inline QString PathOf(const QObject *object, const QObject *root)
{
    QStringList parts;
    for (const QObject *o = object; o && o != root->parent(); o = o->parent()) {
        QString name = o->objectName();
        if (name.isEmpty()) {
            // Unnamed: its class and its place among siblings of that class.
            int index = 0;
            if (o->parent())
                for (const QObject *sibling : o->parent()->children()) {
                    if (sibling == o)
                        break;
                    if (sibling->metaObject() == o->metaObject() && sibling->objectName().isEmpty())
                        ++index;
                }
            name = QStringLiteral("%1#%2").arg(QString::fromLatin1(o->metaObject()->className())).arg(index);
        }
        parts.prepend(name);
    }
    return parts.join(QLatin1Char('/'));
}

inline void AddText(QStringList &lines, const QString &path, const char *what, const QString &text)
{
    if (!text.isEmpty())
        lines << path + QLatin1Char(' ') + QLatin1String(what) + QStringLiteral(": ") + text;
}

inline void AddActions(QStringList &lines, const QString &path, const QList<QAction *> &actions)
{
    int i = 0;
    for (const QAction *action : actions) {
        const QString at = path + QStringLiteral("/action%1").arg(i++);
        AddText(lines, at, "text", action->text());
        AddText(lines, at, "toolTip", action->toolTip() == QString(action->text()).remove(QLatin1Char('&'))
                                          ? QString() : action->toolTip());
        AddText(lines, at, "statusTip", action->statusTip());
        if (const QMenu *menu = action->menu())
            AddActions(lines, at, menu->actions());
    }
}

// Whether Qt rather than the program decides where `w` stands and how big
// it is, from the font and the style: a widget a layout places, or a part
// of one of Qt's composite widgets (a scroll area's bars and headers, a tab
// bar's buttons, an editable list's line).
inline bool PlacedByQt(const QWidget *w)
{
    if (w->isWindow())
        return false;
    if (w->objectName().startsWith(QLatin1String("qt_")) || w->parentWidget()->layout())
        return true;
    for (const QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea *>(p) || qobject_cast<const QComboBox *>(p) ||
            qobject_cast<const QTabBar *>(p))
            return true;
    return false;
}

// One line a text: "path property: text", in the order the widgets stand.
// With `geometry`, the place and size of each widget the program places
// itself, and the fixed width of one it fixes inside a layout.
inline QStringList ShownTexts(const QWidget *root, bool geometry = true)
{
    QStringList lines;
    QList<const QWidget *> widgets{root};
    for (QWidget *w : root->findChildren<QWidget *>())
        if (w->window() == root) // a dialog or popup of its own is walked on its own
            widgets << w;
    for (const QWidget *w : widgets) {
        // The menu bar's overflow button repeats the menus it cannot show.
        if (w->objectName() == QLatin1String("qt_menubar_ext_button"))
            continue;
        const QString path = PathOf(w, root);
        if (geometry && w->parent() && !PlacedByQt(w))
            lines << path + QStringLiteral(" geometry: %1,%2 %3x%4")
                                .arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
        else if (geometry && w->parent() && w->minimumWidth() == w->maximumWidth())
            lines << path + QStringLiteral(" fixedWidth: %1").arg(w->minimumWidth());
        if (w->isWindow())
            AddText(lines, path, "windowTitle", w->windowTitle());
        AddText(lines, path, "toolTip", w->toolTip());
        AddText(lines, path, "statusTip", w->statusTip());
        AddText(lines, path, "whatsThis", w->whatsThis());
        AddText(lines, path, "accessibleName", w->accessibleName());
        AddText(lines, path, "accessibleDescription", w->accessibleDescription());
        if (auto *b = qobject_cast<const QAbstractButton *>(w))
            AddText(lines, path, "text", b->text());
        if (auto *l = qobject_cast<const QLabel *>(w))
            AddText(lines, path, "text", l->text());
        if (auto *g = qobject_cast<const QGroupBox *>(w))
            AddText(lines, path, "title", g->title());
        if (auto *e = qobject_cast<const QLineEdit *>(w)) {
            AddText(lines, path, "text", e->text());
            AddText(lines, path, "placeholderText", e->placeholderText());
        }
        if (auto *c = qobject_cast<const QComboBox *>(w); c && w->objectName() != QLatin1String("portBox"))
            for (int i = 0; i < c->count(); ++i)
                AddText(lines, path, "item", c->itemText(i));
        if (auto *s = qobject_cast<const QAbstractSpinBox *>(w))
            AddText(lines, path, "specialValueText", s->specialValueText());
        if (auto *s = qobject_cast<const QSpinBox *>(w)) {
            AddText(lines, path, "prefix", s->prefix());
            AddText(lines, path, "suffix", s->suffix());
        }
        if (auto *t = qobject_cast<const QTabWidget *>(w))
            for (int i = 0; i < t->count(); ++i)
                AddText(lines, path, "tab", t->tabText(i));
        if (auto *t = qobject_cast<const QTableWidget *>(w))
            for (int i = 0; i < t->columnCount(); ++i)
                if (const QTableWidgetItem *item = t->horizontalHeaderItem(i))
                    AddText(lines, path, "column", item->text());
        if (auto *l = qobject_cast<const QListWidget *>(w); l && w->objectName() != QLatin1String("searchPorts"))
            for (int i = 0; i < l->count(); ++i)
                AddText(lines, path, "item", l->item(i)->text());
        if (auto *bar = qobject_cast<const QMenuBar *>(w))
            AddActions(lines, path, bar->actions());
        else if (!qobject_cast<const QMenu *>(w))
            AddActions(lines, path, w->actions());
        if (auto *menu = qobject_cast<const QMenu *>(w); menu && menu->parent() == nullptr)
            AddActions(lines, path, menu->actions());
    }
    return lines;
}

} // namespace rovi::test
