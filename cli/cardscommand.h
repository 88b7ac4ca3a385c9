#pragma once

#include "options.h"

#include <iosfwd>

namespace rovi::cli {

class ReaderLink;

// rovi-cli cards: listens for --seconds and prints the card test's table
// (or JSON with the same fields); exit 4 when no card was read.
int RunCards(const Invocation &invocation, ReaderLink &link, std::ostream &out, std::ostream &err);

} // namespace rovi::cli
