#pragma once

// A pseudo-terminal for tests: the test plays the device on the master side,
// the code under test opens the slave path.

#include "tools/readersim/pseudoterminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace rovi::test {

class Pty {
public:
    const std::string &SlavePath() const { return pty_.SlavePath(); }

    // Closing the master with the keeper gone hangs the slave up.
    void DropKeeper() { pty_.CloseKeeper(); }
    void CloseMaster() { pty_.CloseMaster(); }

    // The master's descriptor: termios calls on it act on the slave's line.
    int MasterFd() const { return pty_.Master(); }

    // The line's speed as the side that opened the slave last set it (a
    // pseudo-terminal starts at 38400): a program that has set its rate has
    // opened the port and flushed what came before.
    speed_t LineSpeed() const
    {
        termios t{};
        return tcgetattr(pty_.Master(), &t) == 0 ? cfgetospeed(&t) : B0;
    }

    void Write(const std::string &bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(pty_.Master(), bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                throw std::runtime_error("pty write failed");
            done += static_cast<std::size_t>(n);
        }
    }

    // Bytes the program has written that wait on the master to be read.
    int Readable() const
    {
        int n = 0;
        return ioctl(pty_.Master(), FIONREAD, &n) == 0 ? n : -1;
    }

    // Reads until `count` bytes have come or `ms` pass without any byte.
    std::string Read(std::size_t count, int ms = 2000)
    {
        std::string out;
        char buf[8192];
        while (out.size() < count) {
            pollfd p{pty_.Master(), POLLIN, 0};
            if (poll(&p, 1, ms) <= 0)
                break;
            const ssize_t n = read(pty_.Master(), buf, std::min(sizeof buf, count - out.size()));
            if (n <= 0)
                break;
            out.append(buf, static_cast<std::size_t>(n));
        }
        return out;
    }

private:
    sim::PseudoTerminal pty_{false};
};

} // namespace rovi::test
