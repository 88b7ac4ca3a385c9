#include "dialogframe.h"

#include <QDialog>
#include <QStatusBar>
#include <QStringList>

namespace rovi {

QFont SongFont(int pixels, bool new_song)
{
    QFont font;
    QStringList families{QStringLiteral("SimSun"), QStringLiteral("宋体")};
    if (new_song)
        families = QStringList{QStringLiteral("NSimSun"), QStringLiteral("新宋体")} + families;
    families << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("WenQuanYi Micro Hei")
             << QStringLiteral("WenQuanYi Zen Hei");
    font.setFamilies(families);
    font.setPixelSize(pixels);
    return font;
}

void SetUpFixedDialog(QDialog &dialog, const QString &title, const QSize &client)
{
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    dialog.setFont(SongFont(12));
    dialog.setFixedSize(client);
    auto *status = new QStatusBar(&dialog);
    status->setObjectName(QStringLiteral("statusBar"));
    status->setSizeGripEnabled(false);
    constexpr int kStatusHeight = 19;
    status->setGeometry(0, client.height() - kStatusHeight, client.width(), kStatusHeight);
}

} // namespace rovi
