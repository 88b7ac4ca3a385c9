// Finding a reader's reply in what came after a command.
#include "protocol/replyscan.h"
#include "protocol/hexstr.h"

#include <gtest/gtest.h>

using namespace rovi;

TEST(FindReply, TheFirstWholeReplyFrameWhereverItStarts)
{
    const std::string query = HexToBytes("FE F1 00 00 00 00 00 00 00 00 00 FF");
    const std::string report = HexToBytes("FE F1 00 01 41 01 04 20 03 05 6F FF");
    const std::string ack = HexToBytes("FE F1 00 FF");
    struct Row {
        const char *name;
        std::string received;
        bool found;
        FoundReply::Form form;
        std::size_t offset;
    };
    const Row rows[] = {
        {"a report", report, true, FoundReply::Form::Report, 0},
        {"an acknowledgement", ack, true, FoundReply::Form::Ack, 0},
        {"after a card", "0123\r\n" + report, true, FoundReply::Form::Report, 6},
        {"the first of two", ack + report, true, FoundReply::Form::Ack, 0},
        {"half a report", report.substr(0, 8), false, {}, 0},
        {"a stray FE F1 before it", HexToBytes("FE F1 12") + ack, true, FoundReply::Form::Ack, 3},
        {"the command's echo", query, false, {}, 0},
        {"the echo, then the report", query + report, true, FoundReply::Form::Report, 12},
        {"junk of a reply's length", HexToBytes("12 34 00 56"), false, {}, 0},
        {"zeros", std::string(12, '\0'), false, {}, 0},
        {"nothing", "", false, {}, 0},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        const auto found = FindReply(r.received, query);
        ASSERT_EQ(found.has_value(), r.found);
        if (!found)
            continue;
        EXPECT_EQ(found->form, r.form);
        EXPECT_EQ(found->offset, r.offset);
        EXPECT_EQ(found->bytes, std::string_view(r.received).substr(r.offset, r.form == FoundReply::Form::Ack ? 4 : 12));
    }
}
