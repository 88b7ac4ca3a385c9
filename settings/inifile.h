#pragma once

// Windows-style initialisation files on bytes: sections and keys matched
// without regard to ASCII letter case, spaces around names and values
// ignored, the first occurrence of a section or key winning. Writing
// replaces a value in place or adds what is missing, keeps every other line
// byte for byte, and keeps the line ends the file already has.

#include "protocol/exception.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rovi::settings {

// A key name with the spellings it may have in a file: the GBK bytes we
// write, and the UTF-8 bytes a text editor may have saved it as.
struct IniKey {
    std::string_view gbk;
    std::string_view utf8;
};

// The value of a key in a file's bytes, spaces around it removed.
std::optional<std::string> IniLookup(std::string_view file, std::string_view section, const IniKey &key);

// The file's bytes with the key set to the value.
std::string IniReplace(std::string_view file, std::string_view section, const IniKey &key, std::string_view value);

// A file's bytes (at most `limit` of them), or nothing readable as empty:
// reading never fails.
std::string ReadFileBytes(const std::string &path, std::size_t limit = std::string::npos);

// Sets one key in the file on disk. The file is replaced by renaming a new
// file over it, so a crash or a full disk never leaves a half-written one.
// Throws Exception("Unable to write to <shown_name>") when it cannot.
void WriteIniValue(const std::string &path, const std::string &shown_name, std::string_view section,
                   const IniKey &key, std::string_view value);

} // namespace rovi::settings
