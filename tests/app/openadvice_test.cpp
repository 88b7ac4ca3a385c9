// The line under the open-failure message, from constructed failures, and
// the holders of a busy port as the system names them.
#include "app/openadvice.h"
#include "serial/netsocket.h"
#include "serial/portinfo.h"
#include "tests/support/pty.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rovi;

TEST(OpenAdvice, PermissionAdviceNamesAGroupOnlyWhenJoiningItHelps)
{
    const auto permission = [](std::string group, bool group_may_open, std::string owner) {
        OpenFailure f{OpenFailure::Kind::Permission, EACCES, "/dev/ttyUSB0", std::move(group), {}};
        f.owner = std::move(owner);
        f.group_may_open = group_may_open;
        return f;
    };
    const struct {
        const char *name;
        OpenFailure failure;
        const char *advice;
    } rows[] = {
        {"dialout, rw for the group", permission("dialout", true, "root"),
         "没有权限打开 /dev/ttyUSB0（属于 dialout 组）：请执行 sudo usermod -aG dialout $USER，然后重新登录。"},
        {"root's group", permission("root", true, "root"),
         "没有权限打开 /dev/ttyUSB0：只有用户 root 可以打开它；请以该用户运行本程序，或请管理员修改它的权限。"},
        {"a group the mode gives nothing", permission("dialout", false, "alice"),
         "没有权限打开 /dev/ttyUSB0：只有用户 alice 可以打开它；请以该用户运行本程序，或请管理员修改它的权限。"},
        {"no group known", permission("", true, ""),
         "没有权限打开 /dev/ttyUSB0：只有用户 root 可以打开它；请以该用户运行本程序，或请管理员修改它的权限。"},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(OpenFailureAdvice(r.failure), r.advice);
    }
}

#ifndef _WIN32
// A program that names itself with a terminal's escape sequence holds the
// port: its name is shown escaped, never passed on to a terminal.
TEST(OpenAdvice, AHoldersNameIsShownWithoutItsControlCharacters)
{
    test::Pty pty;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        prctl(PR_SET_NAME, "\x1b[31mevil", 0, 0, 0);
        const int fd = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
        (void)!write(ready[1], "x", 1);
        pause();
        _exit(fd >= 0 ? 0 : 1);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    const auto holders = HoldersOf(pty.SlavePath());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    const auto held = std::find_if(holders.begin(), holders.end(), [&](const PortHolder &h) { return h.pid == child; });
    ASSERT_NE(held, holders.end());
    EXPECT_EQ(held->command, "\\x1B[31mevil");
}
#endif

// A device server that cannot be reached is diagnosed by its name alone
// (no device, no holders), and said by why.
TEST(OpenAdvice, ADeviceServerSaysWhyItCannotBeReached)
{
    const std::string port = "rfc2217://10.0.0.7:4001";
    const struct {
        NetFailure failure;
        const char *advice;
    } rows[] = {
        {NetFailure::Refused, "rfc2217://10.0.0.7:4001 拒绝连接：请检查端口号，以及串口服务器是否在该端口提供服务。"},
        {NetFailure::TimedOut, "连接 rfc2217://10.0.0.7:4001 超时：请检查串口服务器是否开机并连在网络上。"},
        {NetFailure::UnknownHost, "找不到 rfc2217://10.0.0.7:4001 的主机：请检查主机名或 IP 地址。"},
    };
    for (const auto &r : rows) {
        const OpenFailure failure = DiagnoseOpenFailure(port, static_cast<int>(r.failure));
        EXPECT_EQ(failure.kind, OpenFailure::Kind::Network);
        EXPECT_TRUE(failure.holders.empty());
        EXPECT_EQ(OpenFailureAdvice(failure), r.advice);
    }
    EXPECT_TRUE(PortPresent(port)) << "a server is only known to be there by connecting";
    EXPECT_FALSE(PortPresent("tcp://no-port"));
}
