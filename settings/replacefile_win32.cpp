#include "replacefile.h"

#include "inifile.h"

#include "base/widepath.h"

#include <algorithm>

namespace rovi::settings {

namespace {

// Creates the temporary file, held without sharing but for deletion (so it
// can be renamed while held). Another save holding it makes this one wait
// its turn, for up to about five seconds.
HANDLE OpenHeldTemporary(const std::string &temp)
{
    for (int attempt = 0; attempt < 500; ++attempt) {
        const HANDLE h = CreateFileW(WidePath(temp).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            return h;
        if (GetLastError() != ERROR_SHARING_VIOLATION && GetLastError() != ERROR_ACCESS_DENIED)
            return INVALID_HANDLE_VALUE;
        Sleep(10);
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE h, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(h, bytes.data(), chunk, &n, nullptr) || n == 0)
            return false;
        bytes.remove_prefix(n);
    }
    return true;
}

} // namespace

// The read, the change and the rename happen while the temporary file is held.
bool ReplaceFileBytes(const std::string &path, const std::function<std::optional<std::string>()> &compute)
{
    const std::string temp = TemporaryNameFor(path);
    const HANDLE h = OpenHeldTemporary(temp);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const std::optional<std::string> bytes = NewBytesInTurn(compute);
    const bool written = bytes && WriteAll(h, *bytes) && FlushFileBuffers(h);
    const bool renamed = written && MoveFileExW(WidePath(temp).c_str(), WidePath(path).c_str(),
                                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    const bool closed = CloseHandle(h) != 0;
    if (!renamed)
        DeleteFileW(WidePath(temp).c_str());
    return renamed && closed;
}

} // namespace rovi::settings
