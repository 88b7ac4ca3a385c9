#pragma once

// Conversions between the program's UTF-8 std::string texts and byte
// strings and Qt's.

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace rovi {

inline QString ToQ(const std::string &text) { return QString::fromStdString(text); }
inline std::string ToStd(const QString &text) { return text.toStdString(); }
// Bytes Qt holds, seen as the program's byte strings see them (no copy).
inline std::string_view ViewOf(const QByteArray &bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace rovi
