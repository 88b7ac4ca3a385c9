// Trouble on the line in words, and the bursts that get one log line each.
#include "app/linetrouble.h"
#include "serial/linetypes.h"

#include <gtest/gtest.h>

using namespace rovi;
using namespace std::chrono_literals;

TEST(LineTrouble, ErrorsInWordsAndTheHintOfTheMostTellingOne)
{
    struct Row {
        std::uint32_t flags;
        const char *line;
        const char *hint;
    };
    const Row rows[] = {
        {LineError::Framing, "[线路错误: 帧错误]", "帧错误：波特率或格式可能不对"},
        {LineError::Parity | LineError::Framing, "[线路错误: 帧错误、校验错误]", "帧错误：波特率或格式可能不对"},
        {LineError::Parity, "[线路错误: 校验错误]", "校验错误：校验位设置可能不对"},
        {LineError::Overrun | LineError::InputOverflow, "[线路错误: 数据溢出、输入缓冲溢出]", "数据溢出：串口来不及接收"},
        {LineError::Break, "[线路错误: 断线信号]", "收到断线信号：请检查读卡器的连接"},
        {0x8000, "[线路错误: 未知错误]", "线路错误"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.line);
        EXPECT_EQ(LineErrorLogLine(r.flags), r.line);
        EXPECT_EQ(LineErrorHint(r.flags), r.hint);
    }
}

TEST(LineTrouble, OneLinePerBurstOfTheSameErrors)
{
    LineErrorBursts bursts;
    const auto t0 = LineErrorBursts::Clock::time_point{} + 10s;
    struct Step {
        std::chrono::milliseconds at;
        std::uint32_t flags;
        bool starts;
    };
    const Step steps[] = {
        {0ms, LineError::Framing, true},     // the first
        {100ms, LineError::Framing, false},  // the same burst
        {900ms, LineError::Framing, false},  // still: within a second of the last
        {1000ms, LineError::Parity, true},   // other errors
        {1100ms, LineError::Framing, true},  // and back
        {2500ms, LineError::Framing, true},  // after a quiet second and more
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.at.count());
        EXPECT_EQ(bursts.StartsBurst(s.flags, t0 + s.at), s.starts);
    }
}
