#pragma once

#include "options.h"

#include <iosfwd>

namespace rovi::cli {

// Runs one command; what it prints goes to out (results) and err (problems).
// Returns the exit code.
int Run(const Invocation &invocation, std::ostream &out, std::ostream &err);

} // namespace rovi::cli
