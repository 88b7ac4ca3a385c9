#pragma once

// The window's two languages and the one a machine asks for when the user
// has not chosen: English where the system's language is set and is not
// Chinese; Chinese for a Chinese system and where none is set ("", "C",
// "POSIX"), so every machine that always showed Chinese still does.

#include <optional>
#include <string_view>

namespace rovi {

enum class Language { Chinese, English };

// The language a locale name stands for: "zh_CN.UTF-8", "en_US", "de-DE"
// (POSIX or Windows spelling), "C", "POSIX" or "".
Language SystemLanguage(std::string_view locale_name);

// The ASCII code stored for a language ("zh", "en"), and back; nullopt for
// any other code (which then leaves the choice to the system).
const char *LanguageCode(Language language);
std::optional<Language> LanguageOfCode(std::string_view code);

} // namespace rovi
