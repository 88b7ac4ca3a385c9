#pragma once

#include "linetypes.h"
#include "nativehandle.h"

namespace rovi {

// Applies the line settings to an open device: on Linux through termios
// (termiosline.h), on Windows through the device-control block (dcb.h).
// Failures are ignored: a device that refuses a setting keeps what it has.
void ApplyLineSettingsToDevice(NativeHandle device, const LineSettings &s);

} // namespace rovi
