#include "uabout.h"

#include "qtext.h"

#include <QLabel>
#include <QStatusBar>

namespace rovi {

TFabout::TFabout(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("Fabout"));
    setWindowTitle(QStringLiteral("关于"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFont(SongFont(12));
    setFixedSize(420, 276);

    auto *version = new QLabel(QStringLiteral("版本号：V1.1"), this);
    version->setObjectName(QStringLiteral("Label1"));
    version->setGeometry(24, 220, 200, 16);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->setGeometry(0, 276 - 19, 420, 19);
}

} // namespace rovi
