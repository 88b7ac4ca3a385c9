#pragma once

#include <string>

namespace rovi::sim {

// A new pseudo-terminal whose slave side we also hold open ourselves (raw,
// never read), so that the master sees no hang-up while the program using
// the slave closes and reopens it, and bytes are not mangled before it does.
class PseudoTerminal {
public:
    // Throws std::runtime_error when no pseudo-terminal can be had.
    explicit PseudoTerminal(bool nonblocking_master);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    int Master() const { return master_; }
    const std::string &SlavePath() const { return slave_path_; }

    // Closing both is what an unplugged adapter looks like to the slave's user.
    void CloseKeeper();
    void CloseMaster();

private:
    int master_ = -1;
    int keeper_ = -1;
    std::string slave_path_;
};

} // namespace rovi::sim
