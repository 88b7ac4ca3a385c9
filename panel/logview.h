#pragma once

#include <QPlainTextEdit>

namespace rovi::panel {

// A read-mostly multi-line log. Appending a line costs the same however long
// the log is, an empty line is kept as a line of its own (also as the very
// first line), and the view follows the newest line. It keeps at most
// LineLimit lines: the oldest leave first.
class LogView : public QPlainTextEdit {
public:
    explicit LogView(QWidget *parent);

    void AppendLine(const QString &line);
    void ClearLines();
    int LineCount() const { return lines_; }
    QStringList Lines() const;

    static constexpr int kDefaultLineLimit = 100'000;
    void SetLineLimit(int lines);
    int LineLimit() const { return limit_; }

private:
    int lines_ = 0;
    int limit_ = kDefaultLineLimit;
};

} // namespace rovi::panel
