#pragma once

// Conversions between the program's UTF-8 std::string texts and Qt's.

#include <QFont>
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

} // namespace rovi
