#pragma once

// The benchmarks' command lines: --help prints the usage, and an argument a
// benchmark does not understand is refused (exit 2) instead of starting a
// run with zero or default work.

#include <cstdio>
#include <cstdlib>
#include <string>

namespace rovi::bench {

// Ends the program for --help (exit 0) or a refused argument (exit 2).
[[noreturn]] inline void Usage(const char *usage, const std::string &refused = {})
{
    if (refused.empty()) {
        std::fputs(usage, stdout);
        std::exit(0);
    }
    std::fprintf(stderr, "unknown argument '%s'\n%s", refused.c_str(), usage);
    std::exit(2);
}

// A whole positive number, or nothing.
inline bool PositiveNumber(const std::string &text, long &value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 12)
        return false;
    value = std::atol(text.c_str());
    return value > 0;
}

} // namespace rovi::bench
