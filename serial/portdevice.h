#pragma once

// What portinfo.h's PortPresent and DiagnoseOpenFailure ask of the system
// about a serial device, one file per platform (portinfo_posix.cpp,
// portinfo_win32.cpp). Device server names are answered before these are
// asked.

#include "portinfo.h"

#include <string>

namespace rovi {

bool DevicePresent(const std::string &name);
OpenFailure DiagnoseDeviceFailure(const std::string &name, int error);

} // namespace rovi
