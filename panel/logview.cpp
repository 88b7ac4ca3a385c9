#include "logview.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace rovi::panel {

LogView::LogView(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false);
}

void LogView::AppendLine(const QString &line)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (lines_ > 0)
        cursor.insertBlock();
    cursor.insertText(line);
    ++lines_;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void LogView::ClearLines()
{
    clear();
    lines_ = 0;
}

} // namespace rovi::panel
