#include "openadvice.h"

namespace rovi {

std::string OpenFailureAdvice(const OpenFailure &failure)
{
    const std::string &device = failure.path;
    switch (failure.kind) {
    case OpenFailure::Kind::Missing:
        return "设备 " + device + " 不存在：请检查读卡器是否已插好，或在“COM设置”中选择其他串口。";
    case OpenFailure::Kind::Permission: {
        if (!JoiningTheGroupHelps(failure))
            return "没有权限打开 " + device + "：只有用户 " + (failure.owner.empty() ? "root" : failure.owner) +
                   " 可以打开它；请以该用户运行本程序，或请管理员修改它的权限。";
        return "没有权限打开 " + device + "（属于 " + failure.group + " 组）：请执行 sudo usermod -aG " +
               failure.group + " $USER，然后重新登录。";
    }
    case OpenFailure::Kind::Busy: {
        if (failure.holders.empty())
            return device + " 正被其他程序占用：请关闭该程序后重试。";
        std::string who;
        for (const PortHolder &h : failure.holders)
            who += (who.empty() ? "" : "、") + h.command + "（进程 " + std::to_string(h.pid) + "）";
        return device + " 正被 " + who + " 占用：请关闭该程序后重试。";
    }
    case OpenFailure::Kind::Other:
        break;
    }
    return "打开 " + device + " 失败：" + SystemErrorText(failure.error);
}

} // namespace rovi
