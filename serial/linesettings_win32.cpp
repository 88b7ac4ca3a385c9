#include "linesettings.h"

#include "dcb.h"

#include "base/winapi.h"

namespace rovi {

namespace {

DWORD Bits(std::uint32_t flags, std::uint32_t shift, std::uint32_t width = 1)
{
    return (flags >> shift) & ((1u << width) - 1);
}

} // namespace

// Reads the device's control block, overwrites the members the settings
// give (the whole flag word among them) and writes it back. DCBlength,
// EofChar, EvtChar and the reserved members stay as the device had them.
void ApplyLineSettingsToDevice(NativeHandle device, const LineSettings &s)
{
    DCB block{};
    block.DCBlength = sizeof block;
    if (!GetCommState(device, &block))
        return;
    const DcbFields d = MakeDcbFields(s);
    block.BaudRate = d.BaudRate;
    block.fBinary = Bits(d.Flags, 0);
    block.fParity = Bits(d.Flags, 1);
    block.fOutxCtsFlow = Bits(d.Flags, 2);
    block.fOutxDsrFlow = Bits(d.Flags, 3);
    block.fDtrControl = Bits(d.Flags, dcb::fDtrControlShift, 2);
    block.fDsrSensitivity = Bits(d.Flags, 6);
    block.fTXContinueOnXoff = Bits(d.Flags, 7);
    block.fOutX = Bits(d.Flags, 8);
    block.fInX = Bits(d.Flags, 9);
    block.fErrorChar = Bits(d.Flags, 10);
    block.fNull = Bits(d.Flags, 11);
    block.fRtsControl = Bits(d.Flags, dcb::fRtsControlShift, 2);
    block.fAbortOnError = 0;
    block.fDummy2 = 0;
    block.XonLim = d.XonLim;
    block.XoffLim = d.XoffLim;
    block.ByteSize = d.ByteSize;
    block.Parity = d.Parity;
    block.StopBits = d.StopBits;
    block.XonChar = d.XonChar;
    block.XoffChar = d.XoffChar;
    block.ErrorChar = d.ErrorChar;
    (void)SetCommState(device, &block);
}

} // namespace rovi
