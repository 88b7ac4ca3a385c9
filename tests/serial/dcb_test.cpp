#include "serial/dcb.h"

#include "tests/support/rowname.h"

#include <gtest/gtest.h>

#include <functional>

using namespace rovi;

// The link's defaults in the control block: binary mode, DTR and RTS
// on, XON/XOFF both ways with continue-on-XOFF, 8N1 at 9600.
TEST(MakeDcbFields, DefaultsGiveTheDocumentedBlock)
{
    const DcbFields d = MakeDcbFields(LineSettings{});
    EXPECT_EQ(d.BaudRate, 9600u);
    EXPECT_EQ(d.Flags, 0x0001u | 0x0010u | 0x0080u | 0x0100u | 0x0200u | 0x1000u);
    EXPECT_EQ(d.XonLim, 500);
    EXPECT_EQ(d.XoffLim, 500);
    EXPECT_EQ(d.ByteSize, 8);
    EXPECT_EQ(d.Parity, 0);
    EXPECT_EQ(d.StopBits, 0);
    EXPECT_EQ(d.XonChar, 17);
    EXPECT_EQ(d.XoffChar, 19);
    EXPECT_EQ(d.ErrorChar, 0);
}

namespace {

struct DcbRow {
    const char *name;
    std::function<void(LineSettings &)> change;
    std::function<void(DcbFields &)> expect; // applied to the defaults' block
};

class DcbTable : public ::testing::TestWithParam<DcbRow> {};

// Everything off: only fBinary remains, whatever else could be set.
LineSettings AllOff()
{
    LineSettings s;
    s.dtrControl = DtrControl::Disable;
    s.rtsControl = RtsControl::Disable;
    s.txContinueOnXoff = false;
    s.outxXonXoffFlow = false;
    s.inxXonXoffFlow = false;
    return s;
}

} // namespace

TEST(MakeDcbFields, FlagWordIsBuiltFromNothing)
{
    EXPECT_EQ(MakeDcbFields(AllOff()).Flags, 0x0001u); // fAbortOnError and the higher bits stay 0
}

TEST_P(DcbTable, EachPropertyLandsInItsMember)
{
    LineSettings s = AllOff();
    GetParam().change(s);
    DcbFields want = MakeDcbFields(AllOff());
    GetParam().expect(want);
    EXPECT_EQ(MakeDcbFields(s), want);
}

INSTANTIATE_TEST_SUITE_P(
    Members, DcbTable,
    ::testing::Values(
        DcbRow{"ParityCheck", [](LineSettings &s) { s.parityCheck = true; }, [](DcbFields &d) { d.Flags |= 0x0002; }},
        DcbRow{"CtsFlow", [](LineSettings &s) { s.outxCtsFlow = true; }, [](DcbFields &d) { d.Flags |= 0x0004; }},
        DcbRow{"DsrFlow", [](LineSettings &s) { s.outxDsrFlow = true; }, [](DcbFields &d) { d.Flags |= 0x0008; }},
        DcbRow{"DtrEnable", [](LineSettings &s) { s.dtrControl = DtrControl::Enable; },
               [](DcbFields &d) { d.Flags |= 0x0010; }},
        DcbRow{"DtrHandshake", [](LineSettings &s) { s.dtrControl = DtrControl::Handshake; },
               [](DcbFields &d) { d.Flags |= 0x0020; }},
        DcbRow{"DsrSensitivity", [](LineSettings &s) { s.dsrSensitivity = true; },
               [](DcbFields &d) { d.Flags |= 0x0040; }},
        DcbRow{"TxContinueOnXoff", [](LineSettings &s) { s.txContinueOnXoff = true; },
               [](DcbFields &d) { d.Flags |= 0x0080; }},
        DcbRow{"OutX", [](LineSettings &s) { s.outxXonXoffFlow = true; }, [](DcbFields &d) { d.Flags |= 0x0100; }},
        DcbRow{"InX", [](LineSettings &s) { s.inxXonXoffFlow = true; }, [](DcbFields &d) { d.Flags |= 0x0200; }},
        DcbRow{"ErrorChar", [](LineSettings &s) { s.replaceWhenParityError = true; },
               [](DcbFields &d) { d.Flags |= 0x0400; }},
        DcbRow{"Null", [](LineSettings &s) { s.ignoreNullChar = true; }, [](DcbFields &d) { d.Flags |= 0x0800; }},
        DcbRow{"RtsEnable", [](LineSettings &s) { s.rtsControl = RtsControl::Enable; },
               [](DcbFields &d) { d.Flags |= 0x1000; }},
        DcbRow{"RtsHandshake", [](LineSettings &s) { s.rtsControl = RtsControl::Handshake; },
               [](DcbFields &d) { d.Flags |= 0x2000; }},
        DcbRow{"RtsToggle", [](LineSettings &s) { s.rtsControl = RtsControl::TransmissionAvailable; },
               [](DcbFields &d) { d.Flags |= 0x3000; }},
        DcbRow{"Baud", [](LineSettings &s) { s.baudRate = 250000; }, [](DcbFields &d) { d.BaudRate = 250000; }},
        DcbRow{"Limits", [](LineSettings &s) { s.xonLimit = 7, s.xoffLimit = 65535; },
               [](DcbFields &d) { d.XonLim = 7, d.XoffLim = 65535; }},
        DcbRow{"FiveBits", [](LineSettings &s) { s.dataBits = DataBits::Five; }, [](DcbFields &d) { d.ByteSize = 5; }},
        DcbRow{"SpaceParity", [](LineSettings &s) { s.parity = Parity::Space; }, [](DcbFields &d) { d.Parity = 4; }},
        DcbRow{"MarkParity", [](LineSettings &s) { s.parity = Parity::Mark; }, [](DcbFields &d) { d.Parity = 3; }},
        DcbRow{"OneAndHalfStop", [](LineSettings &s) { s.stopBits = StopBits::OnePointFive; },
               [](DcbFields &d) { d.StopBits = 1; }},
        DcbRow{"TwoStop", [](LineSettings &s) { s.stopBits = StopBits::Two; }, [](DcbFields &d) { d.StopBits = 2; }},
        DcbRow{"Characters", [](LineSettings &s) { s.xonChar = 'a', s.xoffChar = 'b', s.replacedChar = '?'; },
               [](DcbFields &d) { d.XonChar = 'a', d.XoffChar = 'b', d.ErrorChar = '?'; }}),
    test::RowName{});
