#include "linetrouble.h"

#include "serial/linetypes.h"

namespace rovi {

namespace {

struct ErrorWord {
    std::uint32_t flag;
    const char *word;
    const char *hint;
};

// In the order of how much they tell about a wrong setting.
constexpr ErrorWord kErrors[] = {
    {LineError::Framing, "帧错误", "帧错误：波特率或格式可能不对"},
    {LineError::Parity, "校验错误", "校验错误：校验位设置可能不对"},
    {LineError::Break, "断线信号", "收到断线信号：请检查读卡器的连接"},
    {LineError::Overrun, "数据溢出", "数据溢出：串口来不及接收"},
    {LineError::InputOverflow, "输入缓冲溢出", "输入缓冲溢出：数据来得太快"},
};

} // namespace

std::string LineErrorWords(std::uint32_t flags)
{
    std::string words;
    for (const ErrorWord &e : kErrors)
        if (flags & e.flag)
            words += (words.empty() ? "" : "、") + std::string(e.word);
    return words.empty() ? std::string("未知错误") : words;
}

std::string LineErrorLogLine(std::uint32_t flags)
{
    return "[线路错误: " + LineErrorWords(flags) + "]";
}

std::string LineErrorHint(std::uint32_t flags)
{
    for (const ErrorWord &e : kErrors)
        if (flags & e.flag)
            return e.hint;
    return "线路错误";
}

bool LineErrorBursts::StartsBurst(std::uint32_t flags, Clock::time_point now)
{
    const bool starts = !any_ || flags != flags_ || now - last_ > kQuiet;
    any_ = true;
    flags_ = flags;
    last_ = now;
    return starts;
}

} // namespace rovi
