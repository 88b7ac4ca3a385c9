#include "dcb.h"

namespace rovi {

namespace {

// DTR_CONTROL_DISABLE 0, _ENABLE 1, _HANDSHAKE 2.
std::uint32_t DtrControlValue(DtrControl v)
{
    switch (v) {
    case DtrControl::Enable: return 1;
    case DtrControl::Disable: return 0;
    case DtrControl::Handshake: return 2;
    }
    return 0;
}

// RTS_CONTROL_DISABLE 0, _ENABLE 1, _HANDSHAKE 2, _TOGGLE 3.
std::uint32_t RtsControlValue(RtsControl v)
{
    switch (v) {
    case RtsControl::Enable: return 1;
    case RtsControl::Disable: return 0;
    case RtsControl::Handshake: return 2;
    case RtsControl::TransmissionAvailable: return 3;
    }
    return 0;
}

} // namespace

DcbFields MakeDcbFields(const LineSettings &s)
{
    using namespace dcb;
    DcbFields d;
    d.BaudRate = s.baudRate;
    d.Flags = fBinary;
    if (s.parityCheck)
        d.Flags |= fParity;
    if (s.outxCtsFlow)
        d.Flags |= fOutxCtsFlow;
    if (s.outxDsrFlow)
        d.Flags |= fOutxDsrFlow;
    d.Flags |= DtrControlValue(s.dtrControl) << fDtrControlShift;
    if (s.dsrSensitivity)
        d.Flags |= fDsrSensitivity;
    if (s.txContinueOnXoff)
        d.Flags |= fTXContinueOnXoff;
    if (s.outxXonXoffFlow)
        d.Flags |= fOutX;
    if (s.inxXonXoffFlow)
        d.Flags |= fInX;
    if (s.replaceWhenParityError)
        d.Flags |= fErrorChar;
    if (s.ignoreNullChar)
        d.Flags |= fNull;
    d.Flags |= RtsControlValue(s.rtsControl) << fRtsControlShift;
    d.XonLim = s.xonLimit;
    d.XoffLim = s.xoffLimit;
    d.ByteSize = static_cast<std::uint8_t>(static_cast<unsigned>(s.dataBits) + 5);
    d.Parity = static_cast<std::uint8_t>(s.parity);
    d.StopBits = static_cast<std::uint8_t>(s.stopBits);
    d.XonChar = s.xonChar;
    d.XoffChar = s.xoffChar;
    d.ErrorChar = s.replacedChar;
    return d;
}

} // namespace rovi
