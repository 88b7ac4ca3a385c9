#pragma once

// <windows.h> for the Windows-only files, without the min/max macros.
// Include it after the program's own headers, whose names it might
// otherwise turn into macros.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
