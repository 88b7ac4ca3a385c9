#include "appendfile.h"
#include "texts.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rovi {

namespace {

// What a file that is not a plain one is, in words.
std::string KindOf(const struct stat &st)
{
    if (S_ISLNK(st.st_mode))
        return Translated("AppendFile", "是符号链接");
    if (S_ISFIFO(st.st_mode))
        return Translated("AppendFile", "是管道(FIFO)");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return Translated("AppendFile", "是设备");
    if (S_ISDIR(st.st_mode))
        return Translated("AppendFile", "是目录");
    if (S_ISSOCK(st.st_mode))
        return Translated("AppendFile", "是套接字");
    if (!S_ISREG(st.st_mode))
        return Translated("AppendFile", "不是普通文件");
    if (st.st_nlink != 1)
        return Translated("AppendFile", "是另一个文件的硬链接");
    return {};
}

void Say(std::string *why, const std::string &path, const std::string &what)
{
    if (why)
        *why = path + " " + what;
}

} // namespace

std::optional<AppendFile> AppendFile::Open(const std::string &path, std::string *why)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0) {
        if (const std::string kind = KindOf(st); !kind.empty()) {
            Say(why, path, kind);
            return std::nullopt;
        }
    }
    // O_NOFOLLOW and O_NONBLOCK keep a link or a FIFO put there since the
    // look above from being followed or from blocking.
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        Say(why, path, errno == ELOOP ? Translated("AppendFile", "是符号链接") : std::string(std::strerror(errno)));
        return std::nullopt;
    }
    const std::string kind = fstat(fd, &st) == 0 ? KindOf(st) : std::string(std::strerror(errno));
    if (!kind.empty()) {
        Say(why, path, kind);
        ::close(fd);
        return std::nullopt;
    }
    return AppendFile(fd);
}

AppendFile::AppendFile(AppendFile &&other) noexcept : fd_(other.fd_)
{
    other.fd_ = -1;
}

AppendFile &AppendFile::operator=(AppendFile &&other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

AppendFile::~AppendFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::ptrdiff_t AppendFile::Write(std::string_view bytes)
{
    for (;;) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n >= 0)
            return n;
        if (errno != EINTR)
            return -1;
    }
}

std::optional<unsigned long long> AppendFile::Size() const
{
    struct stat st {};
    if (fstat(fd_, &st) != 0)
        return std::nullopt;
    return static_cast<unsigned long long>(st.st_size);
}

bool AppendFile::Lock()
{
    while (::flock(fd_, LOCK_EX) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

std::optional<std::string> WhyNotAPlainFileTarget(const std::string &path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    if (std::string kind = KindOf(st); !kind.empty())
        return path + " " + kind;
    return std::nullopt;
}

} // namespace rovi
