#pragma once

// The line under the port-open failure message: what happened and what to
// do, in the window's language.

#include "serial/portinfo.h"

#include <string>

namespace rovi {

std::string OpenFailureAdvice(const OpenFailure &failure);

} // namespace rovi
