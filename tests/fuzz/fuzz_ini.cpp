// The INI reader and writer on any file: setting a key makes it read back,
// setting it again changes no byte, every other line stays byte for byte,
// and the block-fed reader reads what a whole-file lookup reads.
#include "check.h"
#include "settings/inifile.h"
#include "settings/portsettings.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using namespace rovi::settings;

namespace {

// The file's lines, each with its line end.
std::vector<std::string_view> Lines(std::string_view file)
{
    std::vector<std::string_view> lines;
    while (!file.empty()) {
        const std::size_t nl = file.find('\n');
        const std::size_t len = nl == std::string_view::npos ? file.size() : nl + 1;
        lines.push_back(file.substr(0, len));
        file.remove_prefix(len);
    }
    return lines;
}

bool Blank(std::string_view s)
{
    return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    static const IniKey kKeys[] = {kKeyPort, kKeyBaud, kKeyAuto};
    const IniKey &key = kKeys[data[0] % 3];
    const std::size_t block = 1 + data[1] % 64;
    const std::string_view file(reinterpret_cast<const char *>(data + 2), size - 2);

    const std::string value = "V1";
    const std::string once = IniReplace(file, "comset", key, value);
    FUZZ_CHECK(IniLookup(once, "comset", key) == value);
    FUZZ_CHECK(IniReplace(once, "comset", key, value) == once);

    // Only the key's line changed, or lines were added in one place: the
    // lines before and after that place are the original's, byte for byte.
    const auto in = Lines(file);
    const auto out = Lines(once);
    std::size_t head = 0;
    while (head < in.size() && head < out.size() && in[head] == out[head])
        ++head;
    std::size_t tail = 0;
    while (tail < in.size() - head && tail < out.size() - head &&
           in[in.size() - 1 - tail] == out[out.size() - 1 - tail])
        ++tail;
    const std::size_t removed = in.size() - head - tail;
    const std::size_t added = out.size() - head - tail;
    FUZZ_CHECK(removed <= 1);
    FUZZ_CHECK(added <= 3); // a line end, a section header, the key
    for (std::size_t i = head; i < head + added; ++i) {
        const std::string_view l = out[i];
        // A key line, a header, a blank line, or the last line completed
        // with a line end.
        FUZZ_CHECK(l.find("V1") != std::string_view::npos || l.find("[comset]") != std::string_view::npos ||
                   Blank(l) || (removed == 1 && l.starts_with(in[head]) && l.size() <= in[head].size() + 2));
    }

    // The reader fed in blocks reads what the lookup reads.
    IniSectionReader reader("comset", std::span(&key, 1));
    for (std::size_t at = 0; at < file.size(); at += block)
        reader.Feed(file.substr(at, block));
    reader.Finish();
    FUZZ_CHECK(reader.Value(0) == IniLookup(file, "comset", key));
    return 0;
}
