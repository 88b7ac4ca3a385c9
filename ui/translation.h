#pragma once

// The window's language. Chinese is the language the texts are written in;
// English comes from the translation built into the program. Qt's own texts
// (message-box buttons, context menus) follow: Qt's Simplified Chinese
// translation for Chinese, Qt's built-in English otherwise. Changing the
// language sends every widget a LanguageChange event, so the window and its
// open dialogs change at once.

#include "base/language.h"

#include <string>

namespace rovi {

// Installs the language's translations in place of the last ones; false
// when one of them could not be loaded (the texts stay in the source
// language, or Qt's in English).
bool UseLanguage(Language language);
Language CurrentLanguage();

// The locale the system asks for: LC_ALL, else LC_MESSAGES, else LANG
// (POSIX); the user's interface language (Windows).
std::string SystemLocaleName();

} // namespace rovi
