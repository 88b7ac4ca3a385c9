#include "panel/commandrules.h"
#include "tests/support/expecterror.h"
#include "base/exception.h"
#include "protocol/hexstr.h"

#include <gtest/gtest.h>

#include <functional>

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

// A group's 设 置 with an empty mirror takes its controls: each row starts
// from the start-up state, changes some controls and says what is sent
// (a whole frame, the eight field bytes, or nothing). The time groups do
// not substitute a zero time, unlike the mirror rules.
TEST(ComposeFor, EmptyMirrorFallbacks)
{
    const struct {
        const char *name;
        std::function<void(PanelSnapshot &)> set;
        Field field;
        const char *sent;
    } rows[] = {
        {"ctrl has no controls", [](PanelSnapshot &) {}, Field::ctrl, "nothing"},
        {"id 1", [](PanelSnapshot &p) { p.id_text = "1"; }, Field::id_addr, "FE F1 00 01 00 00 00 00 00 00 01 FF"},
        {"id 300: its low byte", [](PanelSnapshot &p) { p.id_text = "300"; }, Field::id_addr, "00 2C 00 00 00 00 00 00"},
        {"id empty: 1", [](PanelSnapshot &p) { p.id_text = ""; }, Field::id_addr, "00 01 00 00 00 00 00 00"},
        {"wiegand: dip switches", [](PanelSnapshot &) {}, Field::wiegand, "00 00 01 00 00 00 00 00"},
        {"wiegand 34", [](PanelSnapshot &p) { p.dip_switch = false; p.wiegand_output = true; p.wiegand_index = 1; },
         Field::wiegand, "FE F1 00 00 42 00 00 00 00 00 42 FF"},
        {"wiegand: no radio", [](PanelSnapshot &p) { p.dip_switch = false; p.wiegand_output = false; }, Field::wiegand,
         "nothing"},
        {"serial format", [](PanelSnapshot &) {}, Field::serial_fmt, "00 00 00 01 00 00 00 00"},
        {"baud", [](PanelSnapshot &) {}, Field::baud, "00 00 00 00 04 00 00 00"},
        {"power: external", [](PanelSnapshot &) {}, Field::power, "00 00 00 00 00 01 00 00"},
        {"power: no radio", [](PanelSnapshot &p) { p.external_power = false; }, Field::power, "nothing"},
        {"power level 32",
         [](PanelSnapshot &p) { p.external_power = false; p.software_power = true; p.power_index = 31; }, Field::power,
         "00 00 00 00 00 3F 00 00"},
        {"reread: no time", [](PanelSnapshot &) {}, Field::reread, "nothing"},
        {"send: no time", [](PanelSnapshot &) {}, Field::send_time, "nothing"},
        {"reread 10 s, leave mode", [](PanelSnapshot &p) { p.leave_mode = true; p.reread_unit = 1; p.reread_text = "10"; },
         Field::reread, "FE F1 00 00 00 00 00 00 8A 00 8A FF"},
        {"reread 0 s stays 0", [](PanelSnapshot &p) { p.reread_unit = 1; p.reread_text = "0"; }, Field::reread,
         "00 00 00 00 00 00 00 00"},
        {"reread 0 min", [](PanelSnapshot &p) { p.reread_unit = 0; p.reread_text = "0"; }, Field::reread,
         "00 00 00 00 00 00 40 00"},
        {"send 0 tenths stays 0", [](PanelSnapshot &p) { p.send_unit = 1; p.send_text = "0"; }, Field::send_time,
         "00 00 00 00 00 00 00 00"},
        {"send 5 s", [](PanelSnapshot &p) { p.send_unit = 0; p.send_text = "5"; }, Field::send_time,
         "00 00 00 00 00 00 00 45"},
        {"send: only the low 8 bits, no overflow", [](PanelSnapshot &p) { p.send_unit = 0; p.send_text = "2147483647"; },
         Field::send_time, "00 00 00 00 00 00 00 3F"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        PanelSnapshot p; // the start-up state
        row.set(p);
        const std::string expected = row.sent;
        EXPECT_EQ(expected.starts_with("FE") ? Sent(row.field, p) : FieldOf(row.field, p), expected);
    }
}
