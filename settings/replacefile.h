#pragma once

#include <string>
#include <string_view>

namespace rovi::settings {

// Replaces the file at `path` with `bytes` as one step: the bytes go to the
// fixed temporary file beside it (TemporaryNameFor), which is then renamed
// over `path`. Two programs saving at once take turns on the temporary file;
// a failed save removes it, so none is left behind by a save that finished.
// False when the file could not be replaced (it is then unchanged).
bool ReplaceFileBytes(const std::string &path, std::string_view bytes);

} // namespace rovi::settings
