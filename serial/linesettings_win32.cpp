#include "linesettings.h"

#include "dcb.h"

#include "base/winapi.h"

namespace rovi {

namespace {

// One flag of the word, as its bit field's value.
DWORD Flag(std::uint32_t flags, std::uint32_t bit)
{
    return (flags & bit) != 0 ? 1 : 0;
}

// A two-bit field of the word (fDtrControl, fRtsControl).
DWORD TwoBits(std::uint32_t flags, std::uint32_t shift)
{
    return (flags >> shift) & 3u;
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
    block.fBinary = Flag(d.Flags, dcb::fBinary);
    block.fParity = Flag(d.Flags, dcb::fParity);
    block.fOutxCtsFlow = Flag(d.Flags, dcb::fOutxCtsFlow);
    block.fOutxDsrFlow = Flag(d.Flags, dcb::fOutxDsrFlow);
    block.fDtrControl = TwoBits(d.Flags, dcb::fDtrControlShift);
    block.fDsrSensitivity = Flag(d.Flags, dcb::fDsrSensitivity);
    block.fTXContinueOnXoff = Flag(d.Flags, dcb::fTXContinueOnXoff);
    block.fOutX = Flag(d.Flags, dcb::fOutX);
    block.fInX = Flag(d.Flags, dcb::fInX);
    block.fErrorChar = Flag(d.Flags, dcb::fErrorChar);
    block.fNull = Flag(d.Flags, dcb::fNull);
    block.fRtsControl = TwoBits(d.Flags, dcb::fRtsControlShift);
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
