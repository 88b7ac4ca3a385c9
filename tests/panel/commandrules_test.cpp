#include "panel/commandrules.h"
#include "tests/support/expecterror.h"
#include "base/exception.h"
#include "protocol/hexstr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

using namespace rovi;
using namespace rovi::panel;

namespace {

std::string Shown(const std::optional<Frame> &frame)
{
    if (!frame)
        return "nothing";
    return HexLine(AsBytes(*frame));
}

std::string Sent(PanelButton b, const PanelSnapshot &p)
{
    return Shown(ComposeFor(b, p));
}

std::string Sent(Field f, const PanelSnapshot &p)
{
    return Shown(ComposeFieldSetFor(f, p));
}

std::string FieldOf(Field b, const PanelSnapshot &p)
{
    const std::string line = Sent(b, p);
    return line == "nothing" ? line : line.substr(6, 23); // the eight field bytes
}

} // namespace

TEST(ComposeFor, WholeReaderCommands)
{
    PanelSnapshot p;
    EXPECT_EQ(Sent(PanelButton::Query, p), "FE F1 00 00 00 00 00 00 00 00 00 FF");
    EXPECT_EQ(Sent(PanelButton::FactoryReset, p), "FE F1 80 00 00 00 00 00 00 00 80 FF");
    EXPECT_EQ(Sent(PanelButton::SetAll, p), "FE F1 00 00 00 00 00 00 00 00 00 FF"); // empty mirrors
    const char *mirrors[8] = {"01", "05", "41", "G1", "04", "20", "03", "40"};
    std::copy(std::begin(mirrors), std::end(mirrors), p.mirrors.begin());
    EXPECT_EQ(Sent(PanelButton::SetAll, p), "FE F1 01 05 41 00 04 20 03 40 AE FF"); // G1 counts as 0
}

TEST(ComposeFor, MirrorsParseStrictlyAsHexAndSendTheLowByte)
{
    PanelSnapshot p;
    p.mirrors[0] = "33";
    EXPECT_EQ(Sent(Field::ctrl, p), "FE F1 33 00 00 00 00 00 00 00 33 FF");
    p.mirrors[6] = "2F6"; // set by the program, longer than typing allows
    EXPECT_EQ(FieldOf(Field::reread, p), "00 00 00 00 00 00 F6 00");
    p.mirrors[1] = "G1";
    test::ExpectError<ConversionError>([&] { ComposeFieldSetFor(Field::id_addr, p); }, "'$G1' is not a valid integer value");
}

TEST(ComposeFor, EmptyMirrorFallbacks)
{
    PanelSnapshot p; // the start-up state
    EXPECT_EQ(Sent(Field::ctrl, p), "nothing");
    p.id_text = "1";
    EXPECT_EQ(Sent(Field::id_addr, p), "FE F1 00 01 00 00 00 00 00 00 01 FF");
    p.id_text = "300";
    EXPECT_EQ(FieldOf(Field::id_addr, p), "00 2C 00 00 00 00 00 00");
    p.id_text = "";
    EXPECT_EQ(FieldOf(Field::id_addr, p), "00 01 00 00 00 00 00 00");
    EXPECT_EQ(FieldOf(Field::wiegand, p), "00 00 01 00 00 00 00 00");
    p.dip_switch = false;
    p.wiegand_output = true;
    p.wiegand_index = 1;
    EXPECT_EQ(Sent(Field::wiegand, p), "FE F1 00 00 42 00 00 00 00 00 42 FF");
    p.wiegand_output = false;
    EXPECT_EQ(Sent(Field::wiegand, p), "nothing");
    EXPECT_EQ(FieldOf(Field::serial_fmt, p), "00 00 00 01 00 00 00 00");
    EXPECT_EQ(FieldOf(Field::baud, p), "00 00 00 00 04 00 00 00");
    EXPECT_EQ(FieldOf(Field::power, p), "00 00 00 00 00 01 00 00");
    p.external_power = false;
    EXPECT_EQ(Sent(Field::power, p), "nothing");
    p.software_power = true;
    p.power_index = 31;
    EXPECT_EQ(FieldOf(Field::power, p), "00 00 00 00 00 3F 00 00");
}

TEST(ComposeFor, TimeFallbacksDoNotSubstituteAZeroTime)
{
    PanelSnapshot p;
    EXPECT_EQ(Sent(Field::reread, p), "nothing");
    EXPECT_EQ(Sent(Field::send_time, p), "nothing");
    p.leave_mode = true;
    p.reread_unit = 1;
    p.reread_text = "10";
    EXPECT_EQ(Sent(Field::reread, p), "FE F1 00 00 00 00 00 00 8A 00 8A FF");
    p.leave_mode = false;
    p.reread_text = "0";
    EXPECT_EQ(FieldOf(Field::reread, p), "00 00 00 00 00 00 00 00");
    p.reread_unit = 0;
    EXPECT_EQ(FieldOf(Field::reread, p), "00 00 00 00 00 00 40 00");
    p.send_text = "0";
    p.send_unit = 1;
    EXPECT_EQ(FieldOf(Field::send_time, p), "00 00 00 00 00 00 00 00");
    p.send_unit = 0;
    p.send_text = "5";
    EXPECT_EQ(FieldOf(Field::send_time, p), "00 00 00 00 00 00 00 45");
    p.send_text = "2147483647"; // only the low 8 bits are sent, without overflow
    EXPECT_EQ(FieldOf(Field::send_time, p), "00 00 00 00 00 00 00 3F");
}
