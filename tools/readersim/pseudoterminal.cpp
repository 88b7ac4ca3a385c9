#include "pseudoterminal.h"

#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace rovi::sim {

PseudoTerminal::PseudoTerminal(bool nonblocking_master)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | (nonblocking_master ? O_NONBLOCK : 0));
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        CloseMaster();
        throw std::runtime_error("no pseudo-terminal");
    }
    slave_path_ = ptsname(master_);
    keeper_ = open(slave_path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    if (keeper_ < 0 || tcgetattr(keeper_, &t) != 0) {
        CloseKeeper();
        CloseMaster();
        throw std::runtime_error("cannot open the pseudo-terminal's slave side");
    }
    cfmakeraw(&t);
    tcsetattr(keeper_, TCSANOW, &t);
}

PseudoTerminal::~PseudoTerminal()
{
    CloseKeeper();
    CloseMaster();
}

void PseudoTerminal::CloseKeeper()
{
    if (keeper_ >= 0)
        close(keeper_);
    keeper_ = -1;
}

void PseudoTerminal::CloseMaster()
{
    if (master_ >= 0)
        close(master_);
    master_ = -1;
}

} // namespace rovi::sim
