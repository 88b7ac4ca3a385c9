#include "openadvice.h"

#include "base/texts.h"
#include "serial/netsocket.h"

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
    case OpenFailure::Kind::Network:
        switch (static_cast<NetFailure>(failure.error)) {
        case NetFailure::BadAddress:
            return Filled(Translated("OpenAdvice", "%1 不是有效的网络地址：请写成 tcp://主机:端口 或 rfc2217://主机:端口。"), {device});
        case NetFailure::UnknownHost:
            return Filled(Translated("OpenAdvice", "找不到 %1 的主机：请检查主机名或 IP 地址。"), {device});
        case NetFailure::Refused:
            return Filled(Translated("OpenAdvice", "%1 拒绝连接：请检查端口号，以及串口服务器是否在该端口提供服务。"), {device});
        case NetFailure::TimedOut:
            return Filled(Translated("OpenAdvice", "连接 %1 超时：请检查串口服务器是否开机并连在网络上。"), {device});
        case NetFailure::Unreachable:
            return Filled(Translated("OpenAdvice", "无法到达 %1：请检查网络连接。"), {device});
        case NetFailure::Other: break;
        }
        return Filled(Translated("OpenAdvice", "无法连接 %1。"), {device});
    case OpenFailure::Kind::Other:
        break;
    }
    return Filled(Translated("OpenAdvice", "打开 %1 失败：%2"), {device, SystemErrorText(failure.error)});
}

} // namespace rovi
