#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace rovi::settings {

// Replaces the file at `path` as one step: `compute` gives the new bytes
// (from the file as it is then; nothing to leave it unchanged), they go to
// the fixed temporary file beside it (TemporaryNameFor), which is then
// renamed over `path`. Two programs saving at once take turns on the
// temporary file, and each reads, changes and replaces within its turn, so
// neither loses the other's change. A temporary file that is not a plain
// file with one name (a link, a FIFO, another file's second name) is
// removed and made anew, never written through. A failed save removes it,
// so none is left behind by a save that finished. False when the file could
// not be replaced (it is then unchanged).
bool ReplaceFileBytes(const std::string &path, const std::function<std::optional<std::string>()> &compute);

// Test seam: runs within a save's turn, after `compute` and before the rename.
inline std::function<void()> g_before_replace;

// What both platforms do within a save's turn: the new bytes (an escaping
// error counts as none: the file stays as it is), then the test seam.
inline std::optional<std::string> NewBytesInTurn(const std::function<std::optional<std::string>()> &compute)
{
    std::optional<std::string> bytes;
    try {
        bytes = compute();
    } catch (...) {
        return std::nullopt;
    }
    if (bytes && g_before_replace)
        g_before_replace();
    return bytes;
}

} // namespace rovi::settings
