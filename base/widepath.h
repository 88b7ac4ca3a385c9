#pragma once

// Windows: a UTF-8 path as the wide string the system's W calls take, so
// that folders with Chinese (or any) characters open whatever the ANSI code
// page is.

#ifdef _WIN32
#include "winapi.h"

#include <string>

namespace rovi {

inline std::wstring WidePath(const std::string &utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

} // namespace rovi
#endif
