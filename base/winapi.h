#pragma once

// <windows.h> for the Windows-only files, without the min/max macros.
// Include it after the program's own headers: the system defines the serial
// line-error flags and MAXDWORD as macros with the same values the program
// declares (serial/commtypes.h).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
