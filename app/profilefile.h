#pragma once

// 保存参数 and 载入参数: the panel's fields to and from a profile file
// (protocol/profile.h gives the format).

#include "protocol/fieldwords.h"

#include <QString>

#include <optional>
#include <vector>

namespace rovi {

namespace panel {
class ParamPanel;
}

// Writes the fields 全部设置 would send; false (and why, in words for the
// user) when a field has no words or the file cannot be written. A file
// already there is replaced whole or not at all.
bool SaveProfileTo(const panel::ParamPanel &panel, const QString &path, QString *why);

// The fields of a profile file, or nothing (and why, in words for the user:
// the file, the line and the reason) when it cannot be read or is refused.
std::optional<std::vector<FieldValue>> ReadProfileFile(const QString &path, QString *why);

// Fills the panel from a profile as a report would, sending nothing; false
// (and why) when the file cannot be read or is refused, and then the panel
// is as it was.
bool LoadProfileFrom(panel::ParamPanel &panel, const QString &path, QString *why);

// The file dialogs' filter: profile files, then all files.
QString ProfileFilter();

} // namespace rovi
