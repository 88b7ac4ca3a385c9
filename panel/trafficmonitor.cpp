#include "trafficmonitor.h"

#include "logview.h"
#include "trafficfile.h"

#include "ui/throttle.h"

#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace rovi::panel {

namespace {

// Where the monitor sits in the main window's client area; its controls are
// placed in client coordinates less this corner.
const QRect kMonitorRect(8, 369, 753, 154);

QRect Placed(int x, int y, int width, int height)
{
    return QRect(x - kMonitorRect.x(), y - kMonitorRect.y(), width, height);
}

LogView *MakeLog(QWidget *parent, const char *name, const QRect &rect, const QString &accessible)
{
    auto *log = new LogView(parent);
    log->setObjectName(QString::fromLatin1(name));
    log->setGeometry(rect);
    log->setAccessibleName(accessible);
    return log;
}

} // namespace

TrafficMonitor::TrafficMonitor(QWidget *client)
    : QWidget(client), count_paint_(new Throttle(this, LogView::kRefreshMs, [this] { Edit3->setUpdatesEnabled(true); }))
{
    setObjectName(QStringLiteral("TrafficMonitor"));
    setGeometry(kMonitorRect);

    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(Placed(8, 372, 677, 21));
    Edit2->setAccessibleName(QStringLiteral("发送的十六进制数据"));
    Edit2->setMaxLength(std::numeric_limits<int>::max()); // no limit on a raw line

    Button3 = new QPushButton(QStringLiteral("发 送"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(Placed(701, 369, 59, 25));
    Button3->setAccessibleName(QStringLiteral("发送"));

    Memo1 = MakeLog(this, "Memo1", Placed(8, 396, 479, 126), QStringLiteral("十六进制记录"));
    Memo2 = MakeLog(this, "Memo2", Placed(493, 396, 193, 126), QStringLiteral("文本记录"));

    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setGeometry(Placed(701, 404, 59, 21));
    Edit3->setReadOnly(true);
    Edit3->setAccessibleName(QStringLiteral("接收计数"));
    ShowCount();

    BitBtn2 = new QPushButton(QStringLiteral("清 零"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(Placed(701, 431, 59, 25));
    BitBtn2->setAccessibleName(QStringLiteral("清零"));
}

void TrafficMonitor::LogChunk(const QString &hex_line, const QString &text_line,
                              std::chrono::system_clock::time_point when)
{
    if (timestamps_)
        Memo1->AppendLine(QLatin1Char('[') + QString::fromStdString(ClockTime(when)) + QLatin1String("] ") + hex_line);
    else
        Memo1->AppendLine(hex_line);
    Memo2->AppendLine(text_line);
}

void TrafficMonitor::SetLineLimit(int lines)
{
    Memo1->SetLineLimit(lines);
    Memo2->SetLineLimit(lines);
}

QString TrafficMonitor::SavedText() const
{
    const QStringList hex = Memo1->Lines();
    const QStringList text = Memo2->Lines();
    QString saved;
    for (qsizetype i = 0; i < hex.size(); ++i)
        saved += hex[i] + QLatin1Char('\t') + (i < text.size() ? text[i] : QString()) + QLatin1Char('\n');
    return saved;
}

void TrafficMonitor::CountCard()
{
    ++count_;
    // The text is always the count; while counts come faster than the
    // screen's pace, the box is painted once a period, not once a chunk.
    if (count_paint_->Holding())
        Edit3->setUpdatesEnabled(false);
    ShowCount();
    count_paint_->Request();
}

void TrafficMonitor::Reset()
{
    count_ = 0;
    ShowCount();
    Memo1->ClearLines();
    Memo2->ClearLines();
}

void TrafficMonitor::ShowCount()
{
    Edit3->setText(QString::number(static_cast<std::int32_t>(count_)));
}

} // namespace rovi::panel
