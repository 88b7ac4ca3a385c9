#include "dcb.h"

namespace rovi {

namespace {

// DTR_CONTROL_DISABLE 0, _ENABLE 1, _HANDSHAKE 2.
std::uint32_t DtrControlValue(TDtrControl v)
{
    switch (v) {
    case TDtrControl::DtrEnable: return 1;
    case TDtrControl::DtrDisable: return 0;
    case TDtrControl::DtrHandshake: return 2;
    }
    return 0;
}

// RTS_CONTROL_DISABLE 0, _ENABLE 1, _HANDSHAKE 2, _TOGGLE 3.
std::uint32_t RtsControlValue(TRtsControl v)
{
    switch (v) {
    case TRtsControl::RtsEnable: return 1;
    case TRtsControl::RtsDisable: return 0;
    case TRtsControl::RtsHandshake: return 2;
    case TRtsControl::RtsTransmissionAvailable: return 3;
    }
    return 0;
}

} // namespace

DcbFields MakeDcbFields(const LineSettings &s)
{
    using namespace dcb;
    DcbFields d;
    d.BaudRate = s.BaudRate;
    d.Flags = fBinary;
    if (s.ParityCheck)
        d.Flags |= fParity;
    if (s.Outx_CtsFlow)
        d.Flags |= fOutxCtsFlow;
    if (s.Outx_DsrFlow)
        d.Flags |= fOutxDsrFlow;
    d.Flags |= DtrControlValue(s.DtrControl) << fDtrControlShift;
    if (s.DsrSensitivity)
        d.Flags |= fDsrSensitivity;
    if (s.TxContinueOnXoff)
        d.Flags |= fTXContinueOnXoff;
    if (s.Outx_XonXoffFlow)
        d.Flags |= fOutX;
    if (s.Inx_XonXoffFlow)
        d.Flags |= fInX;
    if (s.ReplaceWhenParityError)
        d.Flags |= fErrorChar;
    if (s.IgnoreNullChar)
        d.Flags |= fNull;
    d.Flags |= RtsControlValue(s.RtsControl) << fRtsControlShift;
    d.XonLim = s.XonLimit;
    d.XoffLim = s.XoffLimit;
    d.ByteSize = static_cast<std::uint8_t>(static_cast<unsigned>(s.ByteSize) + 5);
    d.Parity = static_cast<std::uint8_t>(s.Parity);
    d.StopBits = static_cast<std::uint8_t>(s.StopBits);
    d.XonChar = s.XonChar;
    d.XoffChar = s.XoffChar;
    d.ErrorChar = s.ReplacedChar;
    return d;
}

} // namespace rovi
