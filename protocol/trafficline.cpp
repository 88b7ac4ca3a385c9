#include "trafficline.h"

#include "hexstr.h"

namespace rovi {

TrafficLine ChunkLine(std::chrono::system_clock::time_point when, TrafficDirection direction, std::string_view bytes)
{
    return {when, direction, HexLine(bytes), TextLine(bytes)};
}

TrafficLine NoteLine(std::chrono::system_clock::time_point when, std::string note)
{
    std::string text = note;
    return {when, TrafficDirection::Note, std::move(note), std::move(text)};
}

} // namespace rovi
