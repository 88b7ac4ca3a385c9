#pragma once

// A file the user saves (the logs, a profile, the card test): written whole
// under a temporary name and then put in place, so a failed save leaves
// the old file as it was. What stands under the chosen name must be a
// plain file or nothing: a device or a FIFO is never turned into a file,
// nor a link's target replaced.

#include <QString>

#include <string_view>

namespace rovi {

// False when the file could not be saved, with the reason in `why`.
bool SaveWholeFile(const QString &path, std::string_view bytes, QString *why);

} // namespace rovi
