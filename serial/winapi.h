#pragma once

// <windows.h> for the Win32 back end, without the min/max macros. Include it
// after the program's own headers: the system defines the line-error flags
// and MAXDWORD as macros with the same values the program declares.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
