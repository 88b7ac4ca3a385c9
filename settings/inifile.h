#pragma once

// Windows-style initialisation files on bytes: sections and keys matched
// without regard to ASCII letter case, spaces around names and values
// ignored, the first occurrence of a section or key winning. Writing
// replaces a value in place or adds what is missing, keeps every other line
// byte for byte, and keeps the line ends the file already has. Both read a
// file in one linear pass, whatever its size.

#include "base/exception.h"

#include <functional>
#include <optional>
#include <span>
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

// Where a walk through a file's lines stands towards the first section of
// the name it looks for: only that one counts.
enum class SectionPosition { before, inside, after };

// Reads the values of some keys of one section from a file fed in blocks of
// any size, in one pass. Memory stays small however large the file is: a
// line is looked at in its first kLineLimit bytes, the rest of a longer
// line is skipped.
class IniSectionReader {
public:
    static constexpr std::size_t kLineLimit = 64 * 1024;

    IniSectionReader(std::string_view section, std::span<const IniKey> keys);

    void Feed(std::string_view bytes);
    // The end of the file: a last line without a line end counts too.
    void Finish();
    // True once the section has been read to its end: the rest of the file
    // cannot change any value.
    bool Done() const { return position_ == SectionPosition::after; }

    // The value of keys[i], spaces and one pair of quotes around it
    // removed, or nothing.
    const std::optional<std::string> &Value(std::size_t i) const { return values_[i]; }

private:
    void EndLine();

    std::string section_;
    std::vector<IniKey> keys_;
    std::vector<std::optional<std::string>> values_;
    SectionPosition position_ = SectionPosition::before;
    std::string line_;       // the current line's first kLineLimit bytes
    bool first_line_ = true; // where a UTF-8 byte-order mark may stand
    std::size_t length_ = 0; // the current line's whole length so far
    char last_ = 0;          // its last byte, kept or not
};

// The value of a key in a file's bytes, spaces around it removed, and one
// pair of surrounding quotes (single or double).
std::optional<std::string> IniLookup(std::string_view file, std::string_view section, const IniKey &key);

// The file's bytes with the key set to the value.
std::string IniReplace(std::string_view file, std::string_view section, const IniKey &key, std::string_view value);

// A file's bytes, or nothing readable as empty: reading never fails.
std::string ReadFileBytes(const std::string &path);

// Gives a file's bytes to `take` in blocks until it returns false or the
// file ends; false when the file cannot be opened or read.
bool ReadFileBlocks(const std::string &path, const std::function<bool(std::string_view)> &take);

// Feeds a file to the reader in blocks until its section is read, then
// finishes it; false when the file cannot be read (the reader then holds
// no values).
bool ReadIniSection(const std::string &path, IniSectionReader &reader);

// The fixed name a save writes before renaming it over the file. A save
// that was killed leaves at most this one file, which the next save reuses.
std::string TemporaryNameFor(const std::string &path);

// Sets one key in the file on disk. The file is replaced by renaming a new
// file over it, so a crash or a full disk never leaves a half-written one.
// Throws Exception("Unable to write to <shown_name>") when it cannot.
void WriteIniValue(const std::string &path, const std::string &shown_name, std::string_view section,
                   const IniKey &key, std::string_view value);

} // namespace rovi::settings
