#pragma once

// The words a person reads. Plain code below the window writes its texts in
// the window's source language (Chinese) and passes them through Translated,
// so the window can show them in the language the user chose; until a
// translator is set (the command line, the tests of plain code) every text
// stays as written. The build's message extractor (lupdate) finds them:
// Translated is its "translate", MarkedText its QT_TRANSLATE_NOOP.

#include <initializer_list>
#include <string>
#include <string_view>

namespace rovi {

// Returns the translation of `source` in `context`, or `source` itself.
using TextTranslator = std::string (*)(const char *context, const char *source);

// Set before other threads start (the window sets it once); nullptr
// restores the source texts.
void SetTextTranslator(TextTranslator translator);

std::string Translated(const char *context, const char *source);

// A text kept in a table, translated where it is shown: the extractor finds
// it here, and Translated(context, text) finds its translation.
constexpr const char *MarkedText(const char * /*context*/, const char *text)
{
    return text;
}

// `pattern` with %1 … %9 replaced by the arguments in one pass (an argument
// holding "%2" stays as it is); a marker without an argument stays too.
std::string Filled(std::string_view pattern, std::initializer_list<std::string_view> args);

} // namespace rovi
