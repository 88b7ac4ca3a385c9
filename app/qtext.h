#pragma once

// Conversions between the program's UTF-8 std::string texts and Qt's.

#include <QDialog>
#include <QFont>
#include <QStatusBar>
#include <QString>
#include <QStringList>

#include <string>

namespace rovi {

inline QString ToQ(const std::string &text) { return QString::fromStdString(text); }
inline std::string ToStd(const QString &text) { return text.toStdString(); }

// The window's fonts: the Windows families first, then installed CJK fonts.
inline QFont SongFont(int pixels, bool new_song = false)
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

// A fixed-size dialog with a close box only, centred on its owner, in the
// 12-pixel Song font, with an empty status bar along its bottom edge.
inline void SetUpFixedDialog(QDialog &dialog, const QString &title, const QSize &client)
{
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    dialog.setFont(SongFont(12));
    dialog.setFixedSize(client);
    auto *status = new QStatusBar(&dialog);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    constexpr int kStatusHeight = 19;
    status->setGeometry(0, client.height() - kStatusHeight, client.width(), kStatusHeight);
}

} // namespace rovi
