#pragma once

// What the window says about trouble on the line: line errors (a reader at
// another baud rate or format gives framing errors) and carrier changes.
// Plain C++: the console and the status bar call it.

#include "base/texts.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace rovi {

// The errors of a flag word in words, joined by "、" ("帧错误、校验错误").
std::string LineErrorWords(std::uint32_t flags);
// The line both logs and the record file show: "[线路错误: 帧错误]".
std::string LineErrorLogLine(std::uint32_t flags);
// The status bar's hint for the most telling error of the word.
std::string LineErrorHint(std::uint32_t flags);

// Shown through Translated("LineTrouble", …).
inline constexpr const char *kCarrierLogLine = MarkedText("LineTrouble", "[载波检测变化]");
inline constexpr const char *kCarrierHint = MarkedText("LineTrouble", "载波信号变化：请检查读卡器的连接");

// Errors come with every chunk of a garbled stream; the logs show one line
// per burst: a burst goes on while the same errors come again within a
// second of the last.
class LineErrorBursts {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuiet{1000};

    // True when this notice starts a new burst (and so gets its line).
    bool StartsBurst(std::uint32_t flags, Clock::time_point now);

private:
    std::uint32_t flags_ = 0;
    Clock::time_point last_{};
    bool any_ = false;
};

} // namespace rovi
