#pragma once

// The language the window starts in: the one chosen in its 语言 / Language
// menu (set.ini), else the system's (SystemLanguage).

#include "base/language.h"

namespace rovi {

Language StartLanguage();

} // namespace rovi
