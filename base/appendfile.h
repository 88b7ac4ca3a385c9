#pragma once

// A file the program appends records to (the traffic record, rovi-cli's
// CSV): opened without following a symbolic link and without blocking, and
// only when it is a regular file with one name. A FIFO, a device, a
// directory, a socket, a link or a second name of another file is refused
// with words that say so, and nothing is written anywhere.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rovi {

class AppendFile {
public:
    // Opens `path` (UTF-8), creating it when it does not exist. On failure
    // nothing is open and `why` (when given) says what is wrong, in Chinese.
    static std::optional<AppendFile> Open(const std::string &path, std::string *why = nullptr);

    AppendFile(AppendFile &&other) noexcept;
    AppendFile &operator=(AppendFile &&other) noexcept;
    AppendFile(const AppendFile &) = delete;
    AppendFile &operator=(const AppendFile &) = delete;
    ~AppendFile();

    // Writes what the system takes of `bytes`: the count written (possibly
    // fewer than asked, as on a full disk), or -1 when nothing could be.
    std::ptrdiff_t Write(std::string_view bytes);
    // Everything, or false with what was written in `written`.
    bool WriteAll(std::string_view bytes, std::size_t *written = nullptr);
    // Holds the file against other programs' Lock until it is closed, so a
    // look at its size and the write that follows are one step.
    bool Lock();
    // The file's size now, or nothing when the system cannot tell.
    std::optional<unsigned long long> Size() const;

private:
#ifdef _WIN32
    explicit AppendFile(void *handle) : handle_(handle) {}
    void *handle_ = nullptr;
#else
    explicit AppendFile(int fd) : fd_(fd) {}
    int fd_ = -1;
#endif
};

// Why `path` cannot be the target of a new file written in its place (a
// save): nothing when it does not exist or is a regular file with one
// name; otherwise the reason (a link, a FIFO, a device, a directory …).
std::optional<std::string> WhyNotAPlainFileTarget(const std::string &path);

} // namespace rovi
