#include "linetrouble.h"

#include "base/texts.h"
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
    {LineError::Framing, MarkedText("LineTrouble", "帧错误"), MarkedText("LineTrouble", "帧错误：波特率或格式可能不对")},
    {LineError::Parity, MarkedText("LineTrouble", "校验错误"), MarkedText("LineTrouble", "校验错误：校验位设置可能不对")},
    {LineError::Break, MarkedText("LineTrouble", "断线信号"), MarkedText("LineTrouble", "收到断线信号：请检查读卡器的连接")},
    {LineError::Overrun, MarkedText("LineTrouble", "数据溢出"), MarkedText("LineTrouble", "数据溢出：串口来不及接收")},
    {LineError::InputOverflow, MarkedText("LineTrouble", "输入缓冲溢出"), MarkedText("LineTrouble", "输入缓冲溢出：数据来得太快")},
};

} // namespace

std::string LineErrorWords(std::uint32_t flags)
{
    std::string words;
    for (const ErrorWord &e : kErrors)
        if (flags & e.flag)
            words += (words.empty() ? "" : Translated("LineTrouble", "、")) + Translated("LineTrouble", e.word);
    return words.empty() ? Translated("LineTrouble", "未知错误") : words;
}

std::string LineErrorLogLine(std::uint32_t flags)
{
    return Filled(Translated("LineTrouble", "[线路错误: %1]"), {LineErrorWords(flags)});
}

std::string LineErrorHint(std::uint32_t flags)
{
    for (const ErrorWord &e : kErrors)
        if (flags & e.flag)
            return Translated("LineTrouble", e.hint);
    return Translated("LineTrouble", "线路错误");
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
