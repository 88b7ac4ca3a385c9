#include "inifile.h"
#include "replacefile.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace rovi::settings {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view TrimSpaces(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string_view> SectionName(std::string_view text)
{
    text = TrimSpaces(text);
    if (!text.starts_with('['))
        return std::nullopt;
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimSpaces(text.substr(1, close - 1));
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

std::optional<KeyLine> KeyOf(std::string_view text)
{
    const std::string_view trimmed = TrimSpaces(text);
    if (trimmed.empty() || trimmed.front() == ';')
        return std::nullopt;
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return KeyLine{TrimSpaces(text.substr(0, eq)), TrimSpaces(text.substr(eq + 1))};
}

// A value in one pair of quotes, single or double, is read without them.
std::string_view Unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The value as written after "=": as it stands, or in double quotes when
// reading it back would change it (a blank at either end, a CR at its end,
// which reading takes as part of the line end, or a pair of quotes around
// it, which reading takes off).
std::string ValueText(std::string_view value)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool changes = !value.empty() && (blank(value.front()) || blank(value.back()) || value.back() == '\r' ||
                                            Unquoted(value).size() != value.size());
    if (!changes)
        return std::string(value);
    return '"' + std::string(value) + '"';
}

bool KeyMatches(std::string_view name, const IniKey &key)
{
    return EqualsNoCase(name, key.gbk) || (!key.utf8.empty() && EqualsNoCase(name, key.utf8));
}

// The text of a file's first line without a UTF-8 byte-order mark.
std::string_view WithoutBom(std::string_view first_line)
{
    if (first_line.starts_with(kUtf8Bom))
        first_line.remove_prefix(kUtf8Bom.size());
    return first_line;
}

// Moves the walk over one line of text: a header of the section looked for
// enters it, the next header leaves it. The key of a key line inside it.
std::optional<KeyLine> StepSection(SectionPosition &position, std::string_view text, std::string_view section)
{
    if (position == SectionPosition::after)
        return std::nullopt;
    if (const auto name = SectionName(text)) {
        if (position == SectionPosition::inside)
            position = SectionPosition::after;
        else if (EqualsNoCase(*name, section))
            position = SectionPosition::inside;
        return std::nullopt;
    }
    return position == SectionPosition::inside ? KeyOf(text) : std::nullopt;
}

// One line of a file held in memory: its text [begin, text_end) without the
// line end, and the line end [text_end, end).
struct LineRef {
    std::size_t begin;
    std::size_t text_end;
    std::size_t end;
};

// Walks a file's lines without copying them. The first line's text starts
// after a UTF-8 byte-order mark; the mark itself stays in the file's bytes.
class LineCursor {
public:
    explicit LineCursor(std::string_view file) : file_(file) {}

    bool Next(LineRef &line)
    {
        if (pos_ >= file_.size())
            return false;
        const std::size_t nl = file_.find('\n', pos_);
        if (nl == std::string_view::npos) {
            // A CR that ends the file ends its last line too.
            const std::size_t size = file_.size();
            line = {pos_, size > pos_ && file_[size - 1] == '\r' ? size - 1 : size, size};
        } else {
            std::size_t text_end = nl;
            if (text_end > pos_ && file_[text_end - 1] == '\r')
                --text_end;
            line = {pos_, text_end, nl + 1};
        }
        pos_ = line.end;
        return true;
    }

    std::string_view Text(const LineRef &l) const
    {
        const std::string_view text = file_.substr(l.begin, l.text_end - l.begin);
        return l.begin == 0 ? WithoutBom(text) : text;
    }
    std::string_view End(const LineRef &l) const { return file_.substr(l.text_end, l.end - l.text_end); }

private:
    std::string_view file_;
    std::size_t pos_ = 0;
};

} // namespace

IniSectionReader::IniSectionReader(std::string_view section, std::span<const IniKey> keys)
    : section_(section), keys_(keys.begin(), keys.end()), values_(keys.size())
{
}

// Ends the current line: a CR before its LF, or at the end of the file,
// belongs to the line end (when it was kept).
void IniSectionReader::EndLine()
{
    if (last_ == '\r' && length_ <= kLineLimit)
        line_.pop_back();
    const std::string_view text = first_line_ ? WithoutBom(line_) : std::string_view(line_);
    first_line_ = false;
    if (const auto key = StepSection(position_, text, section_))
        for (std::size_t i = 0; i < keys_.size(); ++i)
            if (!values_[i] && KeyMatches(key->name, keys_[i]))
                values_[i] = std::string(Unquoted(key->value));
    line_.clear();
    length_ = 0;
    last_ = 0;
}

void IniSectionReader::Feed(std::string_view bytes)
{
    while (!bytes.empty() && !Done()) {
        const std::size_t nl = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, nl);
        if (line_.size() < kLineLimit)
            line_.append(piece.substr(0, kLineLimit - line_.size()));
        length_ += piece.size();
        if (!piece.empty())
            last_ = piece.back();
        if (nl == std::string_view::npos)
            return;
        EndLine();
        bytes.remove_prefix(nl + 1);
    }
}

void IniSectionReader::Finish()
{
    if (length_ > 0)
        EndLine();
}

std::optional<std::string> IniLookup(std::string_view file, std::string_view section, const IniKey &key)
{
    IniSectionReader reader(section, std::span(&key, 1));
    reader.Feed(file);
    reader.Finish();
    return reader.Value(0);
}

namespace {

// Ends the text's last line before another is added: with the file's line
// end, or just LF after a CR that already ends it.
void CompleteLastLine(std::string &out, std::string_view eol)
{
    if (out.empty() || out.ends_with('\n'))
        return;
    out.append(out.ends_with('\r') ? "\n" : eol);
}

} // namespace

std::string IniReplace(std::string_view file, std::string_view section, const IniKey &key, std::string_view value)
{
    // One pass finds the line end the file uses, the section, and the key
    // line or the place a missing key goes: after the section's last
    // non-blank line.
    LineCursor cursor(file);
    std::string_view eol;
    SectionPosition position = SectionPosition::before;
    std::optional<LineRef> key_line;
    std::optional<LineRef> insert_after;
    LineRef line{};
    while (cursor.Next(line)) {
        if (eol.empty() && cursor.End(line).ends_with('\n'))
            eol = cursor.End(line);
        if (position == SectionPosition::after || key_line) {
            if (!eol.empty())
                break;
            continue;
        }
        const std::string_view text = cursor.Text(line);
        const SectionPosition was = position;
        const auto k = StepSection(position, text, section);
        if (position != SectionPosition::inside)
            continue;
        if (was == SectionPosition::before)
            insert_after = line; // the section's header
        else if (k && KeyMatches(k->name, key))
            key_line = line;
        else if (!TrimSpaces(text).empty())
            insert_after = line;
    }
    if (eol.empty())
        eol = "\r\n";

    auto key_text = [&](std::string_view name) {
        std::string l(name);
        l += '=';
        l += ValueText(value);
        return l;
    };
    std::string out;
    out.reserve(file.size() + key.gbk.size() + value.size() + section.size() + 8);
    if (key_line) {
        const std::string_view name = KeyOf(cursor.Text(*key_line))->name;
        out.append(file.substr(0, key_line->begin));
        out.append(key_text(name));
        out.append(file.substr(key_line->text_end));
    } else if (insert_after) {
        out.append(file.substr(0, insert_after->end));
        CompleteLastLine(out, eol); // the section may end the file without a line end
        out.append(key_text(key.gbk));
        out.append(eol);
        out.append(file.substr(insert_after->end));
    } else {
        out.append(file);
        CompleteLastLine(out, eol);
        out += '[';
        out.append(section);
        out += ']';
        out.append(eol);
        out.append(key_text(key.gbk));
        out.append(eol);
    }
    return out;
}

bool ReadFileBlocks(const std::string &path, const std::function<bool(std::string_view)> &take)
{
    FILE *f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    char buf[65536];
    std::size_t n;
    bool more = true;
    while (more && (n = std::fread(buf, 1, sizeof buf, f)) > 0)
        more = take(std::string_view(buf, n));
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool ReadIniSection(const std::string &path, IniSectionReader &reader)
{
    if (!ReadFileBlocks(path, [&](std::string_view block) {
            reader.Feed(block);
            return !reader.Done();
        }))
        return false;
    reader.Finish();
    return true;
}

std::string ReadFileBytes(const std::string &path)
{
    std::string bytes;
    if (!ReadFileBlocks(path, [&](std::string_view block) {
            bytes.append(block);
            return true;
        }))
        bytes.clear(); // unreadable (a directory, for instance): nothing
    return bytes;
}

std::string TemporaryNameFor(const std::string &path)
{
    return path + ".tmp";
}

void WriteIniValue(const std::string &path, const std::string &shown_name, std::string_view section,
                   const IniKey &key, std::string_view value)
{
    // Read within the save's turn, so a save by another program meanwhile
    // is not undone.
    const auto change = [&]() -> std::optional<std::string> {
        struct stat st {};
        const bool exists = ::stat(path.c_str(), &st) == 0;
        // An existing file we cannot read would lose its other lines: refuse.
        if (exists && (!S_ISREG(st.st_mode) || ::access(path.c_str(), R_OK) != 0))
            return std::nullopt;
        const std::string current = exists ? ReadFileBytes(path) : std::string();
        if (exists && current.empty() && st.st_size > 0)
            return std::nullopt;
        return IniReplace(current, section, key, value);
    };
    if (!ReplaceFileBytes(path, change))
        throw Exception("Unable to write to " + shown_name);
}

} // namespace rovi::settings
