#pragma once

// Conversions between the program's UTF-8 std::string texts and Qt's.

#include <QString>

#include <string>

namespace rovi {

inline QString ToQ(const std::string &text) { return QString::fromStdString(text); }
inline std::string ToStd(const QString &text) { return text.toStdString(); }

} // namespace rovi
