#include "trafficmonitor.h"

#include "logview.h"

#include "base/localtime.h"
#include "ui/retranslate.h"
#include "ui/throttle.h"

#include <QAccessible>
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

LogView *MakeLog(QWidget *parent, const char *name, const QRect &rect)
{
    auto *log = new LogView(parent);
    log->setObjectName(QString::fromLatin1(name));
    log->setGeometry(rect);
    return log;
}

} // namespace

TrafficMonitor::TrafficMonitor(QWidget *client)
    : QWidget(client), count_paint_(new Throttle(this, LogView::kRefreshMs, [this] { ShowCount(); }))
{
    setObjectName(QStringLiteral("TrafficMonitor"));
    QAccessible::installActivationObserver(this);
    setGeometry(kMonitorRect);

    rawHexInput_ = new QLineEdit(this);
    rawHexInput_->setObjectName(QStringLiteral("rawHexInput"));
    rawHexInput_->setGeometry(Placed(8, 372, 677, 21));
    rawHexInput_->setMaxLength(std::numeric_limits<int>::max()); // no limit on a raw line

    sendRawButton_ = new QPushButton(this);
    sendRawButton_->setObjectName(QStringLiteral("sendRawButton"));
    sendRawButton_->setGeometry(Placed(701, 369, 59, 25));

    hexLog_ = MakeLog(this, "hexLog", Placed(8, 396, 479, 126));
    textLog_ = MakeLog(this, "textLog", Placed(493, 396, 193, 126));
    // The monitor keeps the bound for both logs together (KeepBound).
    line_limit_ = hexLog_->LineLimit();
    for (LogView *log : {hexLog_, textLog_}) {
        log->SetLineLimit(std::numeric_limits<int>::max());
        log->SetCharacterLimit(std::numeric_limits<qsizetype>::max());
    }

    receiveCounter_ = new QLineEdit(this);
    receiveCounter_->setObjectName(QStringLiteral("receiveCounter"));
    receiveCounter_->setGeometry(Placed(701, 404, 59, 21));
    receiveCounter_->setReadOnly(true);
    ShowCount();

    clearButton_ = new QPushButton(this);
    clearButton_->setObjectName(QStringLiteral("clearButton"));
    clearButton_->setGeometry(Placed(701, 431, 59, 25));
    Retranslated(this, [this] {
        rawHexInput_->setAccessibleName(tr("发送的十六进制数据"));
        sendRawButton_->setText(tr("发 送"));
        sendRawButton_->setAccessibleName(tr("发送"));
        hexLog_->setAccessibleName(tr("十六进制记录"));
        textLog_->setAccessibleName(tr("文本记录"));
        receiveCounter_->setAccessibleName(tr("接收计数"));
        clearButton_->setText(tr("清 零"));
        clearButton_->setAccessibleName(tr("清零"));
        sent_mark_ = tr("发 ");
        received_mark_ = tr("收 ");
    });

    connect(sendRawButton_, &QPushButton::clicked, this, [this] { emit rawSendRequested(rawHexInput_->text()); });
    connect(clearButton_, &QPushButton::clicked, this, &TrafficMonitor::clearRequested);
}

void TrafficMonitor::Log(const TrafficLine &line)
{
    const QString hex = QString::fromStdString(line.hex);
    if (timestamps_) {
        const QString &mark = line.direction == TrafficDirection::Sent       ? sent_mark_
                              : line.direction == TrafficDirection::Received ? received_mark_
                                                                             : QString();
        hexLog_->AppendLine(QLatin1Char('[') + QString::fromStdString(LocalClock(line.when)) + QLatin1String("] ") +
                            mark + hex);
    } else {
        hexLog_->AppendLine(hex);
    }
    textLog_->AppendLine(QString::fromStdString(line.text));
    KeepBound();
}

void TrafficMonitor::KeepBound()
{
    int excess = hexLog_->LineCount() - line_limit_;
    // However long the lines, at most LogView::kMaxCharacters in both (the
    // newest chunk always stays).
    qsizetype characters = hexLog_->CharacterCount() + textLog_->CharacterCount();
    const int lines = hexLog_->LineCount();
    for (int i = 0; i < lines - 1 && characters > LogView::kMaxCharacters; ++i) {
        characters -= hexLog_->LineSize(i) + textLog_->LineSize(i);
        excess = std::max(excess, i + 1);
    }
    if (excess <= 0)
        return;
    hexLog_->DropOldestLines(excess);
    textLog_->DropOldestLines(excess);
}

void TrafficMonitor::SetLineLimit(int lines)
{
    line_limit_ = std::max(1, lines);
    KeepBound();
}

QString TrafficMonitor::SavedText() const
{
    const QStringList hex = hexLog_->Lines();
    const QStringList text = textLog_->Lines();
    QString saved;
    for (qsizetype i = 0; i < hex.size(); ++i)
        saved += hex[i] + QLatin1Char('\t') + (i < text.size() ? text[i] : QString()) + QLatin1Char('\n');
    return saved;
}

void TrafficMonitor::CountCard()
{
    ++count_;
    // The box follows at the screen's pace, as the logs do: a lone card
    // shows at once, a stream of them once a period (setting a line edit's
    // text lays it out anew). A screen reader or other accessibility
    // client reads the text itself, so while one is active it is set at once.
    if (accessibility_active_)
        ShowCount();
    else
        count_paint_->Request();
}

TrafficMonitor::~TrafficMonitor()
{
    QAccessible::removeActivationObserver(this);
}

void TrafficMonitor::accessibilityActiveChanged(bool active)
{
    accessibility_active_ = active;
    if (active)
        ShowCount();
}

void TrafficMonitor::Reset()
{
    count_ = 0;
    ShowCount();
    hexLog_->ClearLines();
    textLog_->ClearLines();
}

QString CountText(std::uint32_t count)
{
    return QString::number(static_cast<std::int32_t>(count));
}

void TrafficMonitor::ShowCount()
{
    receiveCounter_->setText(CountText(count_));
}

} // namespace rovi::panel
