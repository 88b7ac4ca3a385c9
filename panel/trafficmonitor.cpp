#include "trafficmonitor.h"

#include "logview.h"

#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace rovi::panel {

namespace {

LogView *MakeLog(QWidget *client, const char *name, const QRect &rect, const QString &accessible)
{
    auto *log = new LogView(client);
    log->setObjectName(QString::fromLatin1(name));
    log->setGeometry(rect);
    log->setAccessibleName(accessible);
    return log;
}

} // namespace

TrafficMonitor::TrafficMonitor(QWidget *client)
{
    Edit2 = new QLineEdit(client);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(8, 372, 677, 21);
    Edit2->setAccessibleName(QStringLiteral("发送的十六进制数据"));
    Edit2->setMaxLength(std::numeric_limits<int>::max()); // no limit on a raw line

    Button3 = new QPushButton(QStringLiteral("发 送"), client);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(701, 369, 59, 25);
    Button3->setAccessibleName(QStringLiteral("发送"));

    Memo1 = MakeLog(client, "Memo1", QRect(8, 396, 479, 126), QStringLiteral("十六进制记录"));
    Memo2 = MakeLog(client, "Memo2", QRect(493, 396, 193, 126), QStringLiteral("文本记录"));

    Edit3 = new QLineEdit(QStringLiteral("0"), client);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setGeometry(701, 404, 59, 21);
    Edit3->setReadOnly(true);
    Edit3->setAccessibleName(QStringLiteral("接收计数"));

    BitBtn2 = new QPushButton(QStringLiteral("清 零"), client);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(701, 431, 59, 25);
    BitBtn2->setAccessibleName(QStringLiteral("清零"));
}

} // namespace rovi::panel
