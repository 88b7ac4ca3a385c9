#include "replacefile.h"

#include "inifile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rovi::settings {

namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Opens the fixed temporary file beside the file and locks it, so that two
// programs saving at once take turns. A lock won on a file that another
// save has meanwhile renamed away is given up and the name opened again.
int OpenLockedTemporary(const std::string &temp)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Never through a link, never blocking on a FIFO.
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        if (fd < 0) {
            if ((errno == ELOOP || errno == ENXIO) && ::unlink(temp.c_str()) == 0)
                continue; // a link or a FIFO took the name: made anew
            return -1;
        }
        struct stat held {}, named {};
        if (::fstat(fd, &held) == 0 && (!S_ISREG(held.st_mode) || held.st_nlink != 1)) {
            // A device, a FIFO or another file's second name: not ours to write.
            ::close(fd);
            if (::unlink(temp.c_str()) != 0)
                return -1;
            continue;
        }
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &held) == 0 && ::lstat(temp.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
    return -1;
}

} // namespace

// The read, the change and the rename happen while the lock is held.
bool ReplaceFileBytes(const std::string &path, const std::function<std::optional<std::string>()> &compute)
{
    const std::string temp = TemporaryNameFor(path);
    const int fd = OpenLockedTemporary(temp);
    if (fd < 0)
        return false;
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    const std::optional<std::string> bytes = NewBytesInTurn(compute);
    const bool written = bytes && ::fcntl(fd, F_SETFL, 0) == 0 && ::ftruncate(fd, 0) == 0 && WriteAll(fd, *bytes) &&
                         ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const bool renamed = written && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!renamed)
        ::unlink(temp.c_str());
    const bool closed = ::close(fd) == 0;
    return renamed && closed;
}

} // namespace rovi::settings
