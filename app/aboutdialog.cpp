#include "aboutdialog.h"

#include "cmdline.h"

#include "ui/dialogframe.h"

#include <QLabel>

namespace rovi {

AboutDialog::AboutDialog(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("aboutDialog"));
    SetUpFixedDialog(*this, tr("关于"), QSize(420, 276));

    auto *version = new QLabel(tr("版本号：V%1").arg(QLatin1String(kToolVersion)), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    version->setGeometry(24, 220, 200, 16);
}

} // namespace rovi
