#include "protocol/profile.h"

#include <gtest/gtest.h>

using namespace rovi;

namespace {

std::vector<FieldValue> Parsed(std::string_view text)
{
    auto parsed = ParseProfile(text);
    if (const auto *error = std::get_if<ProfileError>(&parsed)) {
        ADD_FAILURE() << "line " << error->line << ": " << error->reason;
        return {};
    }
    return std::get<std::vector<FieldValue>>(parsed);
}

} // namespace

TEST(Profile, EveryFieldReadsBackAsTheSameByte)
{
    const auto all = Parsed("ctrl=1A\nid=17\nwiegand=34\nformat=hex\nbaud=9600\npower=software:12\n"
                            "reread=3s,leave\nsend=0.5s\n");
    ASSERT_EQ(all.size(), kFieldCount);
    const FieldBytes bytes = BytesOf(all);
    const auto text = ProfileText(bytes);
    ASSERT_TRUE(std::holds_alternative<std::string>(text)) << std::get<FieldError>(text).message;
    EXPECT_EQ(BytesOf(Parsed(std::get<std::string>(text))), bytes);

    FieldBytes some{};
    some[static_cast<std::size_t>(Field::wiegand)] = bytes[static_cast<std::size_t>(Field::wiegand)];
    some[static_cast<std::size_t>(Field::baud)] = bytes[static_cast<std::size_t>(Field::baud)];
    const std::string written = std::get<std::string>(ProfileText(some));
    EXPECT_EQ(written.substr(written.find("\r\n") + 2), "wiegand=34\r\nbaud=9600\r\n"); // the others left out
    EXPECT_EQ(written.front(), '#');
    EXPECT_EQ(BytesOf(Parsed(written)), some);
}

TEST(Profile, CommentsBlanksSpacesAndLineEndsAsEditorsLeaveThem)
{
    const auto values = Parsed("\xEF\xBB\xBF# site A\r\n\r\n  ; the gate readers\r\n\tid = 17 \r\nbaud=\t115200");
    EXPECT_EQ(values, (std::vector<FieldValue>{{Field::id_addr, 17}, {Field::baud, 0x08}}));
}

namespace {

// `text` as UTF-16 with its byte order mark, as Windows Notepad saves
// "Unicode"; with `odd_byte`, one byte more at the end.
std::string Utf16(std::u16string_view text, bool little_endian, bool odd_byte = false)
{
    std::string bytes = little_endian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += little_endian ? std::string{low, high} : std::string{high, low};
    }
    return odd_byte ? bytes + 'x' : bytes;
}

} // namespace

TEST(Profile, UnicodeTextFromWindowsNotepadReadsAsTheSameProfile)
{
    // A comment in Chinese, with a character beyond the first 65,536 (a surrogate pair).
    const std::u16string text = u"# 闸机 \U0002000B\r\nid=17\r\nbaud=115200\r\n";
    const std::vector<FieldValue> expected{{Field::id_addr, 17}, {Field::baud, 0x08}};
    EXPECT_EQ(Parsed(Utf16(text, true)), expected);
    EXPECT_EQ(Parsed(Utf16(text, false)), expected);
}

TEST(Profile, ABadProfileIsRefusedWithItsLineAndReason)
{
    const struct {
        const char *text;
        int line;
        const char *reason_has;
    } rows[] = {
        {"id=17\ncolour=red\n", 2, "'colour=red' is not FIELD=VALUE"},
        {"# header\nbaud=9601\n", 2, "baud: '9601' is not allowed"},
        {"id=300", 1, "id: '300' is not allowed"},
        {"id=17\n\nbaud=9600\nid=18\n", 4, "id is given twice (first on line 1)"},
        {"wiegand 34\n", 1, "'wiegand 34' is not FIELD=VALUE"},
        {"ctrl=80\n", 1, "ctrl: '80' is not allowed"},
        {"", 0, "no FIELD=VALUE line"},
        {"# only a comment\r\n\r\n", 0, "no FIELD=VALUE line"},
    };
    const struct {
        std::string bytes;
        const char *reason_has;
    } not_text[] = {
        {std::string("id=17\n\0\x01\x02", 8), "not a text file"},
        {std::string("i\0d\0=\0\x31\0\x37\0", 10), "not a text file"}, // UTF-16 without its mark
        {Utf16(u"id=17", true, true), "UTF-16 text but is not"},             // an odd byte at the end
        {Utf16(u"id=17\xDC00", true), "UTF-16 text but is not"},             // a lone low surrogate
        {Utf16(u"id=17\xD800", false), "UTF-16 text but is not"},            // a high surrogate at the end
        {Utf16(u"id=17\xD800\r\n", true), "UTF-16 text but is not"},        // a high surrogate, no low one
    };
    for (const auto &row : not_text) {
        const auto parsed = ParseProfile(row.bytes);
        ASSERT_TRUE(std::holds_alternative<ProfileError>(parsed));
        EXPECT_EQ(std::get<ProfileError>(parsed).line, 0);
        EXPECT_NE(std::get<ProfileError>(parsed).reason.find(row.reason_has), std::string::npos)
            << std::get<ProfileError>(parsed).reason;
    }
    for (const auto &row : rows) {
        const auto parsed = ParseProfile(row.text);
        ASSERT_TRUE(std::holds_alternative<ProfileError>(parsed)) << row.text;
        const ProfileError &error = std::get<ProfileError>(parsed);
        EXPECT_EQ(error.line, row.line) << row.text;
        EXPECT_NE(error.reason.find(row.reason_has), std::string::npos) << row.text << " -> " << error.reason;
    }
    const std::string huge = "id=17\n" + std::string(kMaxProfileBytes, '#');
    EXPECT_EQ(std::get<ProfileError>(ParseProfile(huge)).line, 0);
}

TEST(Profile, ABytePanelsCanHoldButWordsCannotIsNotWritten)
{
    FieldBytes fields{};
    fields[static_cast<std::size_t>(Field::ctrl)] = 0x80; // the factory-reset code
    const auto text = ProfileText(fields);
    ASSERT_TRUE(std::holds_alternative<FieldError>(text));
    EXPECT_NE(std::get<FieldError>(text).message.find("ctrl: the byte 0x80"), std::string::npos);
    fields = {};
    fields[static_cast<std::size_t>(Field::baud)] = 0x46; // no rate
    EXPECT_TRUE(std::holds_alternative<FieldError>(ProfileText(fields)));
}
