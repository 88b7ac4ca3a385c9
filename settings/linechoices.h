#pragma once

// The line-format choices of the port settings, one table each, in the order
// their indexes are stored in set.ini: what the dialog lists, what the status
// bar says, and what the choice sets on the line.

#include "base/texts.h"
#include "serial/linetypes.h"

#include <array>
#include <optional>

namespace rovi::settings {

template <class Value> struct LineChoice {
    const char *list;   // the dialog's item (translated where it is shown)
    const char *status; // the status bar's words (the same)
    Value value;
};

inline constexpr std::array<LineChoice<Parity>, 3> kParityChoices{{
    {MarkedText("LineChoices", "无NONE"), MarkedText("LineChoices", " 无校验"), Parity::None},
    {MarkedText("LineChoices", "奇ODD"), MarkedText("LineChoices", " 奇校验"), Parity::Odd},
    {MarkedText("LineChoices", "偶EVEN"), MarkedText("LineChoices", " 偶校验"), Parity::Even},
}};

inline constexpr std::array<LineChoice<DataBits>, 3> kDataBitsChoices{{
    {"8", MarkedText("LineChoices", " 数据位：8"), DataBits::Eight},
    {"7", MarkedText("LineChoices", " 数据位：7"), DataBits::Seven},
    {"6", MarkedText("LineChoices", " 数据位：6"), DataBits::Six},
}};

inline constexpr std::array<LineChoice<StopBits>, 2> kStopBitsChoices{{
    {"1", MarkedText("LineChoices", " 停止位：1"), StopBits::One},
    {"2", MarkedText("LineChoices", " 停止位：2"), StopBits::Two},
}};

// The choice a stored index names; nothing for an index outside the table
// (a hand-edited set.ini), which leaves the line's setting as it was.
template <class Value, std::size_t N>
std::optional<LineChoice<Value>> ChoiceAt(const std::array<LineChoice<Value>, N> &table, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return std::nullopt;
    return table[static_cast<std::size_t>(index)];
}

} // namespace rovi::settings
