#pragma once

namespace rovi {

// What the system hands out for an open device or an event: a file
// descriptor on Linux, a HANDLE on Windows. The serial back end of each
// platform is chosen at build time (the *_posix.cpp or *_win32.cpp files).
#ifdef _WIN32
using NativeHandle = void *;
inline const NativeHandle kNoHandle = nullptr;
#else
using NativeHandle = int;
inline constexpr NativeHandle kNoHandle = -1;
#endif

} // namespace rovi
