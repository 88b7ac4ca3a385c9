#pragma once

// Names a user may give a file the program writes (the record, a saved log,
// a profile, the batch and rovi-cli records) that are taken by something
// that is not a plain file of its own. Every writer refuses each with the
// words that say what is there, writes nothing anywhere (a link's target,
// another user's file, stays as it was) and never blocks (a FIFO). One
// table, for every writer's test (POSIX: the kinds are made with POSIX calls).
#ifndef _WIN32

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace rovi::test {

struct NotAPlainFile {
    const char *name;
    // Puts it at `path`, `elsewhere` being another user's file; false where
    // this machine cannot (a device node needs root).
    std::function<bool(const std::filesystem::path &path, const std::filesystem::path &elsewhere)> make;
    const char *words; // what the refusal says
};

inline std::vector<NotAPlainFile> NotPlainFiles()
{
    return {
        {"fifo", [](const auto &p, const auto &) { return mkfifo(p.c_str(), 0644) == 0; }, "FIFO"},
        {"symlink",
         [](const auto &p, const auto &e) {
             std::filesystem::create_symlink(e, p);
             return true;
         },
         "符号链接"},
        {"directory", [](const auto &p, const auto &) { return std::filesystem::create_directory(p); }, "目录"},
        {"device", [](const auto &p, const auto &) { return mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }, "设备"},
        {"hard_link",
         [](const auto &p, const auto &e) {
             std::filesystem::create_hard_link(e, p);
             return true;
         },
         "硬链接"},
        {"socket",
         [](const auto &p, const auto &) {
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             if (p.native().size() >= sizeof address.sun_path)
                 return false;
             std::strcpy(address.sun_path, p.c_str());
             const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
             const bool bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
             if (fd >= 0)
                 close(fd);
             return bound;
         },
         "套接字"},
    };
}

} // namespace rovi::test
#endif
