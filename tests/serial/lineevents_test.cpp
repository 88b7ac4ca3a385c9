#include "serial/lineevents.h"

#include "tests/support/rowname.h"

#include <gtest/gtest.h>

using namespace rovi;

namespace {

struct LineEventRow {
    const char *name;
    std::uint32_t mask;
    LineEventNotices notices;
};

class LineEventTable : public ::testing::TestWithParam<LineEventRow> {};

} // namespace

// The error word before the modem bits; a mask without the awaited events
// (empty, or received characters only) ends the reader.
TEST_P(LineEventTable, TheMaskGivesItsNotices)
{
    EXPECT_EQ(NoticesOfLineEvent(GetParam().mask), GetParam().notices);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, LineEventTable,
    ::testing::Values(LineEventRow{"Error", 0x0080, {true, 0, false}},
                      LineEventRow{"Carrier", 0x0020, {false, 8, false}},
                      LineEventRow{"Ring", 0x0100, {false, 4, false}},
                      LineEventRow{"All", 0x01A0, {true, 12, false}},
                      LineEventRow{"ErrorWithOthersNotAwaited", 0x0081, {true, 0, false}},
                      LineEventRow{"Empty", 0, {false, 0, true}},
                      LineEventRow{"ReceivedCharactersOnly", 0x0001, {false, 0, true}}),
    test::RowName{});
