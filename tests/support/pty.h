#pragma once

// A pseudo-terminal for tests: the test plays the device on the master side,
// the code under test opens the slave path.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>

namespace rovi::test {

class Pty {
public:
    Pty()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        slave_ = ptsname(master_);
        // Keep the slave open ourselves with raw settings, so that bytes
        // written before the code under test opens it are not mangled and a
        // closed slave never hangs the master up.
        keeper_ = open(slave_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t{};
        tcgetattr(keeper_, &t);
        cfmakeraw(&t);
        tcsetattr(keeper_, TCSANOW, &t);
    }
    ~Pty()
    {
        CloseMaster();
        if (keeper_ >= 0)
            close(keeper_);
    }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    const std::string &SlavePath() const { return slave_; }
    int Master() const { return master_; }

    // Lets the slave hang up when the master closes (the keeper would hold it).
    void DropKeeper()
    {
        if (keeper_ >= 0)
            close(keeper_);
        keeper_ = -1;
    }

    void CloseMaster()
    {
        if (master_ >= 0)
            close(master_);
        master_ = -1;
    }

    void Write(const std::string &bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                throw std::runtime_error("pty write failed");
            done += static_cast<std::size_t>(n);
        }
    }

    // Reads until `count` bytes have come or `ms` pass without any byte.
    std::string Read(std::size_t count, int ms = 2000)
    {
        std::string out;
        char buf[8192];
        while (out.size() < count) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, ms) <= 0)
                break;
            const ssize_t n = read(master_, buf, std::min(sizeof buf, count - out.size()));
            if (n <= 0)
                break;
            out.append(buf, static_cast<std::size_t>(n));
        }
        return out;
    }

private:
    int master_ = -1;
    int keeper_ = -1;
    std::string slave_;
};

} // namespace rovi::test
