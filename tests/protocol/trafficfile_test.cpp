#include "protocol/trafficfile.h"

#include "tests/support/filetargets.h"
#include "tests/support/files.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

#include <algorithm>
#include <ctime>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

using namespace rovi;
using rovi::test::ReadAll;

namespace {

TrafficFile::Clock::time_point LocalTime(int year, int month, int day, int hour, int minute, int second, int millis)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return TrafficFile::Clock::from_time_t(std::mktime(&tm)) + std::chrono::milliseconds(millis);
}

} // namespace

TEST(TrafficFile, OneLinePerChunkInTheFileOfItsDay)
{
    rovi::test::TempDir dir;
    const std::string folder = dir.Path().string();
    {
        TrafficFile file(folder);
        file.Append(ChunkLine(LocalTime(2026, 12, 10, 23, 59, 59, 987), TrafficDirection::Received, "\x30\x31\x0D\x0A"));
        file.Append(ChunkLine(LocalTime(2026, 12, 11, 0, 0, 0, 5), TrafficDirection::Sent, std::string("\xFE\xF1\x00\xFF", 4)));
        EXPECT_TRUE(file.Flush());
        // Kept until flushed, then appended to what is there.
        file.Append(ChunkLine(LocalTime(2026, 12, 11, 0, 0, 1, 0), TrafficDirection::Received, ""));
        EXPECT_EQ(ReadAll(folder + "/rovi-2026-12-11.log"), "2026-12-11 00:00:00.005\tTX\tFE F1 00 FF\t\n");
        file.Append(NoteLine(LocalTime(2026, 12, 11, 0, 0, 2, 0), "[线路错误: 帧错误]"));
    } // the rest is written at the end
    EXPECT_EQ(ReadAll(folder + "/rovi-2026-12-10.log"), "2026-12-10 23:59:59.987\tRX\t30 31 0D 0A\t01\n");
    EXPECT_EQ(ReadAll(folder + "/rovi-2026-12-11.log"),
              "2026-12-11 00:00:00.005\tTX\tFE F1 00 FF\t\n2026-12-11 00:00:01.000\tRX\t\t\n"
              "2026-12-11 00:00:02.000\tERR\t\t[线路错误: 帧错误]\n");
}

TEST(TrafficFile, AFolderThatCannotBeWrittenFailsTheFlushAndKeepsTheLines)
{
    rovi::test::TempDir dir;
    TrafficFile file((dir.Path() / "missing").string());
    file.Append(ChunkLine(LocalTime(2026, 12, 10, 12, 0, 0, 0), TrafficDirection::Received, "1"));
    EXPECT_FALSE(file.Flush());
    std::filesystem::create_directory(dir.Path() / "missing");
    EXPECT_TRUE(file.Flush());
    EXPECT_EQ(ReadAll((dir.Path() / "missing" / "rovi-2026-12-10.log").string()), "2026-12-10 12:00:00.000\tRX\t31\t1\n");
}

namespace {

// A disk that takes `budget` bytes and then refuses, until given more.
struct LimitedDisk {
    std::ptrdiff_t budget = 0;
    TrafficFile::Writer Writer()
    {
        return [this](rovi::AppendFile &file, std::string_view bytes) -> std::ptrdiff_t {
            const std::ptrdiff_t n = std::min<std::ptrdiff_t>(budget, static_cast<std::ptrdiff_t>(bytes.size()));
            if (n <= 0)
                return -1;
            budget -= n;
            return file.Write(bytes.substr(0, static_cast<std::size_t>(n)));
        };
    }
};

} // namespace

// A full disk: a write cut short is resumed where it stopped, so once space
// returns every line is in the file exactly once, whole.
TEST(TrafficFile, AFullDiskNeitherTearsNorRepeatsLines)
{
    rovi::test::TempDir dir;
    LimitedDisk disk;
    TrafficFile file(dir.Path().string(), disk.Writer());
    std::string expected;
    for (int i = 0; i < 5; ++i) {
        file.Append(ChunkLine(LocalTime(2026, 12, 10, 12, 0, i, 0), TrafficDirection::Received, "1"));
        expected += "2026-12-10 12:00:0" + std::to_string(i) + ".000\tRX\t31\t1\n";
    }
    disk.budget = 30; // part of the first line
    EXPECT_FALSE(file.Flush());
    EXPECT_FALSE(file.LastError().empty());
    disk.budget = 50;
    EXPECT_FALSE(file.Flush());
    disk.budget = 1 << 20; // space again
    EXPECT_TRUE(file.Flush());
    EXPECT_EQ(ReadAll(file.PathFor(LocalTime(2026, 12, 10, 12, 0, 0, 0))), expected);
}

// A flush that fails at midnight: each line still lands in its own day's file.
TEST(TrafficFile, LinesOfADayWrittenLateGoToThatDaysFile)
{
    rovi::test::TempDir dir;
    LimitedDisk disk;
    TrafficFile file(dir.Path().string(), disk.Writer());
    file.Append(ChunkLine(LocalTime(2026, 12, 10, 23, 59, 59, 0), TrafficDirection::Received, "1"));
    file.Append(ChunkLine(LocalTime(2026, 12, 11, 0, 0, 1, 0), TrafficDirection::Received, "2")); // the day changes while the disk is full
    EXPECT_FALSE(file.Flush());
    disk.budget = 1 << 20;
    EXPECT_TRUE(file.Flush());
    EXPECT_EQ(ReadAll((dir.Path() / "rovi-2026-12-10.log").string()), "2026-12-10 23:59:59.000\tRX\t31\t1\n");
    EXPECT_EQ(ReadAll((dir.Path() / "rovi-2026-12-11.log").string()), "2026-12-11 00:00:01.000\tRX\t32\t2\n");
}

TEST(TrafficFile, LinesLostWhileTheBufferWasFullAreSaidSo)
{
    rovi::test::TempDir dir;
    LimitedDisk disk;
    const auto when = LocalTime(2026, 12, 10, 12, 0, 0, 0);
    // The note is stamped when the disk takes lines again, a minute later
    // on the test's clock, whatever day the machine says it is.
    TrafficFile file(dir.Path().string(), disk.Writer(), [&] { return when + std::chrono::minutes(1); });
    const std::string chunk(4096, 'A');
    int appended = 0;
    // Each line is about 16 KB: past the buffer's bound within ~1,100 lines.
    for (; appended < 1100; ++appended)
        file.Append(ChunkLine(when, TrafficDirection::Received, chunk));
    for (int i = 0; i < 7; ++i)
        file.Append(ChunkLine(when, TrafficDirection::Received, chunk));
    disk.budget = std::numeric_limits<std::ptrdiff_t>::max();
    ASSERT_TRUE(file.Flush());
    const std::string written = ReadAll(file.PathFor(when));
    const auto lines = std::count(written.begin(), written.end(), '\n');
    const std::size_t note = written.rfind("[记录文件曾无法写入，丢失 ");
    ASSERT_NE(note, std::string::npos);
    const std::string stamp = "2026-12-10 12:01:00.000\tERR\t\t";
    ASSERT_GE(note, stamp.size());
    EXPECT_EQ(written.substr(note - stamp.size(), stamp.size()), stamp);
    const int lost = std::stoi(written.substr(note + std::string("[记录文件曾无法写入，丢失 ").size()));
    EXPECT_GT(lost, 7);
    EXPECT_EQ(lines - 1 + lost, appended + 7); // every line written or counted as lost
}

#ifndef _WIN32 // FIFOs, device nodes and links made with POSIX calls
namespace {

class RecordTargets : public testing::TestWithParam<rovi::test::NotAPlainFile> {};

} // namespace

// The record file's name taken by something that is not a plain file: the
// flush fails at once with words that say what is there, and nothing is
// written anywhere (a FIFO would block the window, a link would write into
// another user's file).
TEST_P(RecordTargets, AreRefusedWithoutBlockingOrWritingElsewhere)
{
    const rovi::test::NotAPlainFile c = GetParam();
    rovi::test::TempDir dir;
    const auto when = LocalTime(2026, 12, 10, 12, 0, 0, 0);
    const std::filesystem::path elsewhere = dir.Path() / "someone-elses-file";
    std::ofstream(elsewhere) << "theirs\n";
    TrafficFile file(dir.Path().string());
    const std::filesystem::path target = file.PathFor(when);
    if (!c.make(target, elsewhere))
        GTEST_SKIP() << "cannot make a " << c.name << " here";
    file.Append(ChunkLine(when, TrafficDirection::Received, "1"));
    EXPECT_FALSE(file.Flush());
    EXPECT_NE(file.LastError().find(c.words), std::string::npos) << file.LastError();
    EXPECT_EQ(ReadAll(elsewhere.string()), "theirs\n");
}

INSTANTIATE_TEST_SUITE_P(Targets, RecordTargets, testing::ValuesIn(rovi::test::NotPlainFiles()),
                         [](const auto &info) { return std::string(info.param.name); });
#endif

namespace {

std::string Utf8(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

// A folder with Chinese characters (a Chinese user name under %APPDATA%, or
// D:\读卡器\): the record file is written there.
TEST(TrafficFile, AFolderWithChineseCharactersTakesTheRecord)
{
    rovi::test::TempDir dir;
    const std::filesystem::path folder = dir.Path() / std::filesystem::path(u8"记录测试");
    std::filesystem::create_directory(folder);
    const auto when = LocalTime(2026, 12, 10, 12, 0, 0, 0);
    {
        TrafficFile file(Utf8(folder));
        file.Append(ChunkLine(when, TrafficDirection::Received, "1"));
        EXPECT_TRUE(file.Flush()) << file.LastError();
    }
    std::ifstream in(folder / "rovi-2026-12-10.log", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), "2026-12-10 12:00:00.000\tRX\t31\t1\n");
}
