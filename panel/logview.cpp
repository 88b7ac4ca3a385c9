#include "logview.h"

#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>
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
    SetLineLimit(kDefaultLineLimit);
}

void LogView::SetLineLimit(int lines)
{
    limit_ = lines;
    setMaximumBlockCount(lines);
    lines_ = std::min(lines_, lines);
}

QStringList LogView::Lines() const
{
    QStringList lines;
    if (lines_ == 0)
        return lines;
    lines.reserve(lines_);
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void LogView::AppendLine(const QString &line)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (lines_ > 0)
        cursor.insertBlock();
    cursor.insertText(line);
    lines_ = std::min(lines_ + 1, limit_);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void LogView::ClearLines()
{
    clear();
    lines_ = 0;
}

} // namespace rovi::panel
