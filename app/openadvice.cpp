#include "openadvice.h"

#include "base/texts.h"

namespace rovi {

std::string OpenFailureAdvice(const OpenFailure &failure)
{
    const std::string &device = failure.path;
    switch (failure.kind) {
    case OpenFailure::Kind::Missing:
        return Filled(Translated("OpenAdvice", "设备 %1 不存在：请检查读卡器是否已插好，或在“COM设置”中选择其他串口。"), {device});
    case OpenFailure::Kind::Permission: {
        if (!JoiningTheGroupHelps(failure))
            return Filled(Translated("OpenAdvice", "没有权限打开 %1：只有用户 %2 可以打开它；请以该用户运行本程序，或请管理员修改它的权限。"),
                          {device, failure.owner.empty() ? "root" : failure.owner});
        return Filled(Translated("OpenAdvice", "没有权限打开 %1（属于 %2 组）：请执行 sudo usermod -aG %2 $USER，然后重新登录。"),
                      {device, failure.group});
    }
    case OpenFailure::Kind::Busy: {
        if (failure.holders.empty())
            return Filled(Translated("OpenAdvice", "%1 正被其他程序占用：请关闭该程序后重试。"), {device});
        std::string who;
        for (const PortHolder &h : failure.holders)
            who += (who.empty() ? "" : Translated("OpenAdvice", "、")) +
                   Filled(Translated("OpenAdvice", "%1（进程 %2）"), {h.command, std::to_string(h.pid)});
        return Filled(Translated("OpenAdvice", "%1 正被 %2 占用：请关闭该程序后重试。"), {device, who});
    }
    case OpenFailure::Kind::Other:
        break;
    }
    return Filled(Translated("OpenAdvice", "打开 %1 失败：%2"), {device, SystemErrorText(failure.error)});
}

} // namespace rovi
