#pragma once

// One line of the traffic: a chunk sent or received, or a note about the
// line, as the logs, the saved log and the record file all show it. Made
// once per chunk and handed to each of them.

#include <chrono>
#include <string>
#include <string_view>

namespace rovi {

enum class TrafficDirection { Sent, Received, Note };

struct TrafficLine {
    std::chrono::system_clock::time_point when;
    TrafficDirection direction = TrafficDirection::Received;
    std::string hex;  // the bytes in spaced hex (a note: its words)
    std::string text; // the bytes' hex-digit text (a note: its words again)
};

// The line of a chunk's bytes.
TrafficLine ChunkLine(std::chrono::system_clock::time_point when, TrafficDirection direction, std::string_view bytes);
// A note about the line: the same words in both logs.
TrafficLine NoteLine(std::chrono::system_clock::time_point when, std::string note);

} // namespace rovi
