#include "inifile.h"

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
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

// One line of the file: its text without the line end, and the line end.
struct Line {
    std::string_view text;
    std::string_view end;
};

std::vector<Line> SplitLines(std::string_view file)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < file.size()) {
        const std::size_t nl = file.find('\n', pos);
        if (nl == std::string_view::npos) {
            lines.push_back({file.substr(pos), {}});
            break;
        }
        std::size_t text_end = nl;
        if (text_end > pos && file[text_end - 1] == '\r')
            --text_end;
        lines.push_back({file.substr(pos, text_end - pos), file.substr(text_end, nl + 1 - text_end)});
        pos = nl + 1;
    }
    if (!lines.empty() && lines.front().text.starts_with(kUtf8Bom))
        lines.front().text.remove_prefix(kUtf8Bom.size());
    return lines;
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

bool KeyMatches(std::string_view name, const IniKey &key)
{
    return EqualsNoCase(name, key.gbk) || (!key.utf8.empty() && EqualsNoCase(name, key.utf8));
}

// Where the first section of that name starts and ends (line indexes).
struct SectionSpan {
    std::size_t header;
    std::size_t end; // one past its last line
};

std::optional<SectionSpan> FindSection(const std::vector<Line> &lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].text);
        if (!name || !EqualsNoCase(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end].text))
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line> &lines, const SectionSpan &span, const IniKey &key)
{
    for (std::size_t i = span.header + 1; i < span.end; ++i)
        if (const auto k = KeyOf(lines[i].text); k && KeyMatches(k->name, key))
            return i;
    return std::nullopt;
}

std::string_view LineEndOf(const std::vector<Line> &lines)
{
    for (const Line &l : lines)
        if (!l.end.empty())
            return l.end;
    return "\r\n";
}

} // namespace

std::optional<std::string> IniLookup(std::string_view file, std::string_view section, const IniKey &key)
{
    const std::vector<Line> lines = SplitLines(file);
    const auto span = FindSection(lines, section);
    if (!span)
        return std::nullopt;
    const auto index = FindKey(lines, *span, key);
    if (!index)
        return std::nullopt;
    return std::string(KeyOf(lines[*index].text)->value);
}

std::string IniReplace(std::string_view file, std::string_view section, const IniKey &key, std::string_view value)
{
    const std::vector<Line> lines = SplitLines(file);
    const std::string_view eol = LineEndOf(lines);
    std::string out;
    out.reserve(file.size() + key.gbk.size() + value.size() + section.size() + 8);
    if (file.starts_with(kUtf8Bom))
        out.append(kUtf8Bom);

    auto key_line = [&](std::string_view name) {
        std::string l(name);
        l += '=';
        l += value;
        return l;
    };
    auto append = [&](std::string_view text, std::string_view end) {
        out.append(text);
        out.append(end);
    };

    const auto span = FindSection(lines, section);
    const auto index = span ? FindKey(lines, *span, key) : std::nullopt;
    // Where a missing key goes: after the section's last non-blank line.
    std::size_t insert_after = 0;
    if (span && !index) {
        insert_after = span->header;
        for (std::size_t i = span->header + 1; i < span->end; ++i)
            if (!TrimSpaces(lines[i].text).empty())
                insert_after = i;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line &l = lines[i];
        if (index && i == *index) {
            append(key_line(KeyOf(l.text)->name), l.end);
            continue;
        }
        append(l.text, l.end);
        if (span && !index && i == insert_after) {
            if (l.end.empty())
                out.append(eol);
            append(key_line(key.gbk), eol);
        }
    }
    if (!span) {
        if (!out.empty() && !out.ends_with('\n'))
            out.append(eol);
        out += '[';
        out.append(section);
        out += ']';
        out.append(eol);
        append(key_line(key.gbk), eol);
    }
    return out;
}

std::string ReadFileBytes(const std::string &path, std::size_t limit)
{
    std::string bytes;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return bytes;
    char buf[65536];
    std::size_t n;
    while (bytes.size() < limit && (n = std::fread(buf, 1, std::min(sizeof buf, limit - bytes.size()), f)) > 0)
        bytes.append(buf, n);
    if (std::ferror(f))
        bytes.clear(); // unreadable (a directory, for instance): nothing
    std::fclose(f);
    return bytes;
}

namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes the bytes to a new file beside `path` and renames it over `path`.
bool ReplaceFile(const std::string &path, std::string_view bytes)
{
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

} // namespace

void WriteIniValue(const std::string &path, const std::string &shown_name, std::string_view section,
                   const IniKey &key, std::string_view value)
{
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    // An existing file we cannot read would lose its other lines: refuse.
    if (exists && (!S_ISREG(st.st_mode) || ::access(path.c_str(), R_OK) != 0))
        throw Exception("Unable to write to " + shown_name);
    const std::string current = exists ? ReadFileBytes(path) : std::string();
    if (exists && current.empty() && st.st_size > 0)
        throw Exception("Unable to write to " + shown_name);
    if (!ReplaceFile(path, IniReplace(current, section, key, value)))
        throw Exception("Unable to write to " + shown_name);
}

} // namespace rovi::settings
