// The traffic monitor's two logs as "保存记录…" reads them: line i of the
// hex log and line i of the text log are always the same chunk.
#include "panel/logview.h"
#include "panel/trafficmonitor.h"
#include "protocol/hexstr.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace rovi;
using namespace rovi::panel;

namespace {

struct PairCase {
    const char *name;
    std::size_t chunk_bytes;
    int line_limit;
    int chunks;
    bool character_bound; // fed past the bound on characters, not on lines
};

class LogsDropTogether : public testing::TestWithParam<PairCase> {};

// Chunk i: its number in decimal, then filler that is no hex digit, so its
// text line is the number alone.
std::string Chunk(int i, std::size_t size)
{
    std::string chunk(size, 'z');
    const std::string number = std::to_string(i);
    chunk.replace(0, number.size(), number);
    return chunk;
}

} // namespace

TEST_P(LogsDropTogether, EverySavedLineIsOneChunk)
{
    const PairCase c = GetParam();
    QWidget client;
    TrafficMonitor monitor(&client);
    monitor.SetLineLimit(c.line_limit);
    const auto now = std::chrono::system_clock::now();
    for (int i = 0; i < c.chunks; ++i) {
        const std::string chunk = Chunk(i, c.chunk_bytes);
        monitor.Log(ChunkLine(now, TrafficDirection::Received, chunk));
    }
    const QStringList saved = monitor.SavedText().split('\n', Qt::SkipEmptyParts);
    const auto *hex_log = client.findChild<LogView *>("hexLog");
    const auto *text_log = client.findChild<LogView *>("textLog");
    ASSERT_NE(hex_log, nullptr);
    ASSERT_NE(text_log, nullptr);
    EXPECT_EQ(hex_log->LineCount(), text_log->LineCount());
    ASSERT_EQ(saved.size(), hex_log->LineCount());
    if (c.character_bound) {
        // The newest chunks whose lines fit in the bound together, no more, no fewer.
        int fit = 0;
        qsizetype held = 0;
        for (int i = c.chunks - 1; i >= 0; --i, ++fit) {
            const std::string chunk = Chunk(i, c.chunk_bytes);
            held += static_cast<qsizetype>(HexLine(chunk).size() + TextLine(chunk).size());
            if (held > LogView::kMaxCharacters)
                break;
        }
        ASSERT_LT(fit, c.chunks); // the bound was reached
        EXPECT_EQ(saved.size(), fit);
    } else {
        EXPECT_EQ(saved.size(), c.line_limit);
    }
    const int first = c.chunks - static_cast<int>(saved.size());
    for (int row = 0; row < saved.size(); ++row) {
        const QStringList fields = saved[row].split('\t');
        ASSERT_EQ(fields.size(), 2) << "row " << row;
        const std::string bytes = HexToBytes(fields[0].toStdString());
        ASSERT_EQ(bytes, Chunk(first + row, c.chunk_bytes)) << "row " << row << ": the hex of another chunk";
        ASSERT_EQ(fields[1].toStdString(), std::to_string(first + row)) << "row " << row << ": the text of another chunk";
    }
}

INSTANTIATE_TEST_SUITE_P(Chunks, LogsDropTogether,
                         testing::Values(PairCase{"ten_bytes", 10, 200, 260, false},
                                         PairCase{"a_hundred_bytes", 100, 200, 260, false},
                                         PairCase{"full_reads", 4096, 100000, 1500, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ReceiveCounter, WrapsAsA32BitCountShownSigned)
{
    EXPECT_EQ(CountText(0), "0");
    EXPECT_EQ(CountText(2147483647u), "2147483647");
    EXPECT_EQ(CountText(2147483648u), "-2147483648");
    EXPECT_EQ(CountText(4294967295u), "-1");
    std::uint32_t count = 4294967295u;
    ++count; // the monitor's count, one card later
    EXPECT_EQ(CountText(count), "0");
}
