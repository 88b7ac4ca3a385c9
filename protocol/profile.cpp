#include "profile.h"

#include "base/convert.h"
#include "base/utf16.h"

#include <array>
#include <optional>

namespace rovi {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

std::variant<std::vector<FieldValue>, ProfileError> ParseProfile(std::string_view text)
{
    if (text.size() > kMaxProfileBytes)
        return ProfileError{0, "the file is larger than " + std::to_string(kMaxProfileBytes / 1024) +
                                   " KB: not a profile"};
    // The mark editors put before UTF-8 text; UTF-16 ("Unicode" in Windows
    // Notepad) with its mark is read as the same text.
    std::string decoded;
    const bool little = text.substr(0, 2) == "\xFF\xFE", big = text.substr(0, 2) == "\xFE\xFF";
    if (little || big) {
        auto utf8 = Utf8FromUtf16(text.substr(2), little ? ByteOrder::LittleEndian : ByteOrder::BigEndian);
        if (!utf8)
            return ProfileError{0, "the file starts as UTF-16 text but is not: not a profile"};
        decoded = std::move(*utf8);
        text = decoded;
    } else if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    if (text.find('\0') != std::string_view::npos)
        return ProfileError{0, "not a text file (it holds NUL bytes): save the profile as plain text"};
    std::vector<FieldValue> values;
    std::array<int, kFieldCount> given_on{}; // the line each field came on
    int number = 0;
    while (!text.empty()) {
        ++number;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = Trimmed(line);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            return ProfileError{number, "'" + std::string(line) + "' is not FIELD=VALUE"};
        const std::string word = std::string(Trimmed(line.substr(0, eq))) + "=" + std::string(Trimmed(line.substr(eq + 1)));
        auto parsed = ParseAssignments({word});
        if (const auto *error = std::get_if<FieldError>(&parsed))
            return ProfileError{number, error->message};
        const FieldValue value = std::get<std::vector<FieldValue>>(parsed).front();
        int &first = given_on[static_cast<std::size_t>(value.field)];
        if (first != 0)
            return ProfileError{number, std::string("field ") + FieldName(value.field) + " is given twice (first on line " +
                                            std::to_string(first) + ")"};
        first = number;
        values.push_back(value);
    }
    if (values.empty())
        return ProfileError{0, "no FIELD=VALUE line"};
    return values;
}

std::variant<std::string, FieldError> ProfileText(const FieldBytes &fields)
{
    std::string text = "# ROVI reader profile: one FIELD=VALUE a line; a field left out is not changed\r\n";
    for (const FieldValue &v : FieldsSetBy(fields)) {
        const auto value = ValueText(v.field, v.byte);
        std::optional<std::uint8_t> again;
        if (value) {
            const auto parsed = ParseAssignments({std::string(FieldName(v.field)) + "=" + *value});
            if (const auto *read = std::get_if<std::vector<FieldValue>>(&parsed))
                again = read->front().byte;
        }
        if (again != v.byte)
            return FieldError{std::string("field ") + FieldName(v.field) + ": the byte 0x" + IntToHex2(v.byte) +
                              " has no words a profile can hold"};
        text += std::string(FieldName(v.field)) + "=" + *value + "\r\n";
    }
    return text;
}

} // namespace rovi
