#include "panel/trafficfile.h"

#include "tests/support/files.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <sstream>

using namespace rovi::panel;
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
        file.Append(LocalTime(2026, 12, 10, 23, 59, 59, 987), false, "\x30\x31\x0D\x0A");
        file.Append(LocalTime(2026, 12, 11, 0, 0, 0, 5), true, std::string("\xFE\xF1\x00\xFF", 4));
        EXPECT_TRUE(file.Flush());
        // Kept until flushed, then appended to what is there.
        file.Append(LocalTime(2026, 12, 11, 0, 0, 1, 0), false, "");
        EXPECT_EQ(ReadAll(folder + "/rovi-2026-12-11.log"), "2026-12-11 00:00:00.005\tTX\tFE F1 00 FF\t\n");
        file.AppendNote(LocalTime(2026, 12, 11, 0, 0, 2, 0), "[线路错误: 帧错误]");
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
    file.Append(LocalTime(2026, 12, 10, 12, 0, 0, 0), false, "1");
    EXPECT_FALSE(file.Flush());
    std::filesystem::create_directory(dir.Path() / "missing");
    EXPECT_TRUE(file.Flush());
    EXPECT_EQ(ReadAll((dir.Path() / "missing" / "rovi-2026-12-10.log").string()), "2026-12-10 12:00:00.000\tRX\t31\t1\n");
}
