#include "settings/inifile.h"
#include "tests/support/expecterror.h"
#include "settings/portsettings.h"
#include "settings/replacefile.h"
#include "settings/tooloptions.h"
#include "tests/support/tempdir.h"

#include "tests/support/rowname.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <random>
#include <thread>
#ifndef _WIN32
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace rovi;
using namespace rovi::settings;
using namespace std::string_literals;

namespace {

const std::string kGbkPort = "\xB4\xAE\xBF\xDA";
const std::string kGbkBaud = "\xB2\xA8\xCC\xD8\xC2\xCA";

std::optional<std::string> Port(std::string_view file) { return IniLookup(file, "comset", kKeyPort); }

void WriteBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

struct LookupCase {
    const char *name;
    std::string file;
    std::optional<std::string> port;
};

} // namespace

class IniLookupTable : public testing::TestWithParam<LookupCase> {};

TEST_P(IniLookupTable, FindsTheFirstKeyOfTheFirstSection)
{
    EXPECT_EQ(Port(GetParam().file), GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(Files, IniLookupTable, testing::Values(
    LookupCase{"GbkCrLf", "[comset]\r\n" + kGbkPort + "=COM3\r\n", "COM3"},
    LookupCase{"SectionCase", "[COMSET]\n" + kGbkPort + "=COM3\n", "COM3"},                     // section case
    LookupCase{"SpacesAround", "  [ comset ]  \n  " + kGbkPort + "  =  COM3  \n", "COM3"},       // spaces
    LookupCase{"FirstKeyWins", "[comset]\n" + kGbkPort + "=COM3\n" + kGbkPort + "=COM4\n", "COM3"}, // first key wins
    LookupCase{"FirstOfTwoSectionsWins", "[comset]\n" + kGbkPort + "=COM3\n[comset]\n" + kGbkPort + "=COM4\n", "COM3"},
    LookupCase{"OnlyTheFirstSection", "[comset]\nx=1\n[comset]\n" + kGbkPort + "=COM4\n", std::nullopt}, // only the first section
    LookupCase{"OtherSection", "[other]\n" + kGbkPort + "=COM3\n", std::nullopt},
    LookupCase{"Comment", "[comset]\n;" + kGbkPort + "=COM3\n", std::nullopt},               // a comment
    LookupCase{"Utf8WithBom", "\xEF\xBB\xBF[comset]\r\n串口=COM7\r\n", "COM7"},                   // UTF-8 with BOM
    LookupCase{"Utf8NoFinalNewline", "[comset]\n串口=COM8", "COM8"},                                     // UTF-8, no final newline
    LookupCase{"CrEndsTheFile", "[comset]\n串口=COM8\r", "COM8"},                                   // a CR ends the file
    LookupCase{"DoubleQuoted", "[comset]\n串口=\"COM3\"\n", "COM3"},                               // quoted
    LookupCase{"SingleQuotedWithSpaces", "[comset]\n串口= 'COM3' \n", "COM3"},
    LookupCase{"UnpairedQuotesKept", "[comset]\n串口=\"COM3'\n", "\"COM3'"},                             // not a pair
    LookupCase{"LoneQuoteKept", "[comset]\n串口=\"\n", "\""},
    LookupCase{"EmptyValue", "[comset]\n" + kGbkPort + "=\n", ""},
    LookupCase{"Garbage", "\x00\xFF\xFE[comset\n=\n\x01"s, std::nullopt},                      // garbage
    LookupCase{"EmptyFile", "", std::nullopt}),
    test::RowName{});

TEST(IniLookup, KeyNamesIgnoreAsciiCase)
{
    EXPECT_EQ(IniLookup("[comset]\nAUTO=1\n", "comset", kKeyAuto), "1");
}

TEST(IniReplace, ReplacesInPlaceAndKeepsEveryOtherByte)
{
    const std::string file = "; my settings\r\n[other]\r\nkey=v\r\n\r\n[ComSet]\r\n" + kGbkPort +
                             " = COM3\r\nauto=1\r\n[tail]\r\nz=9";
    EXPECT_EQ(IniReplace(file, "comset", kKeyPort, "COM5"),
              "; my settings\r\n[other]\r\nkey=v\r\n\r\n[ComSet]\r\n" + kGbkPort + "=COM5\r\nauto=1\r\n[tail]\r\nz=9");
}

TEST(IniReplace, AddsAMissingKeyAtTheEndOfItsSectionWithTheFilesLineEnds)
{
    EXPECT_EQ(IniReplace("[comset]\nauto=1\n\n[x]\n", "comset", kKeyPort, "COM2"),
              "[comset]\nauto=1\n" + kGbkPort + "=COM2\n\n[x]\n");
    EXPECT_EQ(IniReplace("[comset]\r\nauto=1", "comset", kKeyPort, "COM2"),
              "[comset]\r\nauto=1\r\n" + kGbkPort + "=COM2\r\n");
}

// A value that reading would change is written in quotes, so it reads back
// as it was; any other value is written as it stands.
TEST(IniReplace, QuotesOnlyTheValuesReadingWouldChange)
{
    const struct {
        const char *value;
        const char *written;
    } rows[] = {
        {"COM3", "COM3"},           {"a b", "a b"},           {" lead", "\" lead\""},
        {"trail\t", "\"trail\t\""}, {"\r ", "\"\r \""},       {"ends\r", "\"ends\r\""},
        {"'q'", "\"'q'\""},         {"\"\"", "\"\"\"\""},       {"'half", "'half"},
        {"", ""},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.value);
        const std::string file = IniReplace("[comset]\r\n", "comset", kKeyBaud, r.value);
        EXPECT_EQ(file, "[comset]\r\n" + kGbkBaud + "=" + r.written + "\r\n");
        EXPECT_EQ(ParsePortSettings(file).baud, r.value);
    }
}

TEST(IniReplace, AddsAMissingSection)
{
    EXPECT_EQ(IniReplace("", "comset", kKeyAuto, "0"), "[comset]\r\nauto=0\r\n");
    EXPECT_EQ(IniReplace("[x]\ny=1", "comset", kKeyAuto, "1"), "[x]\ny=1\n[comset]\nauto=1\n");
}

TEST(IniReplace, KeepsAUtf8FilesBomAndKeySpelling)
{
    EXPECT_EQ(IniReplace("\xEF\xBB\xBF[comset]\n串口=COM1\n", "comset", kKeyPort, "COM9"),
              "\xEF\xBB\xBF[comset]\n串口=COM9\n");
}

TEST(PortSettingsFile, ANewFileHoldsTheExactBytes)
{
    test::TempDir dir;
    PortSettings s;
    s.port = "/dev/ttyUSB0";
    s.baud = "19200";
    s.parity = 2;
    SavePortSettings("set.ini", s, true);
    EXPECT_EQ(ReadFileBytes("set.ini"), "[comset]\r\n" + kGbkPort + "=/dev/ttyUSB0\r\n"
                                        "\xB2\xA8\xCC\xD8\xC2\xCA=19200\r\n\xD0\xA3\xD1\xE9=2\r\n"
                                        "\xCA\xFD\xBE\xDD=0\r\n\xCD\xA3\xD6\xB9=0\r\nauto=1\r\n");
    PortSettings expected = s;
    expected.autoConnect = 1;
    EXPECT_EQ(LoadPortSettings("set.ini"), expected);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1); // no temp file left
}

// A folder with Chinese characters (a Chinese user name under %APPDATA%, or
// D:\读卡器\): set.ini is written and read there.
TEST(PortSettingsFile, AFolderWithChineseCharactersTakesSetIni)
{
    test::TempDir dir;
    const std::filesystem::path folder = dir.Path() / std::filesystem::path(u8"记录测试");
    std::filesystem::create_directory(folder);
    std::filesystem::current_path(folder);
    PortSettings s;
    s.port = "COM7";
    SavePortSettings("set.ini", s, true);
    EXPECT_EQ(LoadPortSettings("set.ini").port, "COM7");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "set.ini"));
    std::filesystem::current_path(dir.Path());
}

TEST(PortSettingsFile, AnUnwritableFileThrowsAndLosesNothing)
{
    test::TempDir dir;
    std::filesystem::create_directory("set.ini"); // cannot be replaced by a file
    test::ExpectError<Exception>([] { SavePortSettings("set.ini", PortSettings{}, false); }, "Unable to write to .\\set.ini");
    EXPECT_TRUE(std::filesystem::is_directory("set.ini"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(PortSettingsFile, ReadingNeverFails)
{
    test::TempDir dir;
    EXPECT_EQ(LoadPortSettings("set.ini"), PortSettings{}); // missing
    std::filesystem::create_directory("set.ini");
    EXPECT_EQ(LoadPortSettings("set.ini"), PortSettings{}); // unreadable
    std::filesystem::remove("set.ini");
    std::string binary(1 << 20, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 31);
    WriteBytes("set.ini", binary);
    EXPECT_EQ(LoadPortSettings("set.ini"), PortSettings{});
}

TEST(PortSettingsFile, ValuesAndTheirDefaults)
{
    const std::string long_port(3000, 'p');
    const PortSettings s = ParsePortSettings("[comset]\n" + kGbkPort + "=" + long_port +
                                             "\n\xD0\xA3\xD1\xE9=0x2\n\xCA\xFD\xBE\xDD=abc\n"
                                             "\xCD\xA3\xD6\xB9=$1\nauto=-1\n");
    EXPECT_EQ(s.port, long_port.substr(0, 2047));
    EXPECT_EQ(s.baud, "9600");
    EXPECT_EQ(s.parity, 2);
    EXPECT_EQ(s.dataBits, 0);
    EXPECT_EQ(s.stopBits, 1);
    EXPECT_EQ(s.autoConnect, -1);
    EXPECT_EQ(IniInteger("0X1f", 0), 31);
    EXPECT_EQ(IniInteger(" 7", 0), 7);
    EXPECT_EQ(IniInteger("7 ", 0), 0);
}

TEST(StatusSummary, SpellsEverySettingWithItsSpacing)
{
    PortSettings s;
    EXPECT_EQ(StatusSummary(s), "串口:COM1 波特率:9600 无校验 数据位：8 停止位：1");
    s = {"/dev/ttyUSB0", "115200", 1, 1, 1, 0};
    EXPECT_EQ(StatusSummary(s), "串口:/dev/ttyUSB0 波特率:115200 奇校验 数据位：7 停止位：2");
    s = {"COM2", "4800", 2, 2, 0, 0};
    EXPECT_EQ(StatusSummary(s), "串口:COM2 波特率:4800 偶校验 数据位：6 停止位：1");
    s = {"COM2", "4800", 5, -1, 2, 0};
    EXPECT_EQ(StatusSummary(s), "串口:COM2 波特率:4800");
}

// Random files made of section, key, comment, blank and junk lines with
// either line end: setting a key makes it read back, setting it again with
// the same value changes no byte, and no other line is touched.
TEST(IniProperty, SetThenReadOnRandomFiles)
{
    std::mt19937 rng(4242);
    const std::vector<std::string> pieces = {
        "[comset]", "[COMSET]", "[other]", " [ comset ] ", kGbkPort + "=COM3", " auto = 1 ", "; note",
        "", "key=value", "\xE4\xB8\xB2\xE5\x8F\xA3=COM9", "\x01\xFF=junk", "=", "[", "AUTO=7"};
    for (int i = 0; i < 3000; ++i) {
        std::string file;
        const int lines = static_cast<int>(rng() % 8);
        for (int k = 0; k < lines; ++k) {
            file += pieces[rng() % pieces.size()];
            if (k + 1 < lines || rng() % 2)
                file += (rng() % 2) ? "\r\n" : "\n";
        }
        const IniKey &key = (rng() % 2) ? kKeyPort : kKeyAuto;
        const std::string once = IniReplace(file, "comset", key, "V1");
        ASSERT_EQ(IniLookup(once, "comset", key), "V1") << file;
        ASSERT_EQ(IniReplace(once, "comset", key, "V1"), once) << file;
        // Every other byte is untouched: V1 and V2 differ in one byte, and
        // that byte is the one that differs.
        const std::string twice = IniReplace(once, "comset", key, "V2");
        ASSERT_EQ(twice.size(), once.size()) << file;
        std::size_t differing = 0, at = 0;
        for (std::size_t b = 0; b < once.size(); ++b)
            if (once[b] != twice[b]) {
                ++differing;
                at = b;
            }
        ASSERT_EQ(differing, 1u) << file;
        ASSERT_EQ(once.substr(at - 1, 2), "V1") << file;
    }
}

// The loader reads the file in blocks: where a block ends (inside a CR LF,
// a byte-order mark or a key name) must not change what is read.
TEST(IniSectionReader, BlocksOfAnySizeReadAsTheWholeFile)
{
    const std::string file = "\xEF\xBB\xBF; settings\r\n[other]\r\nauto=9\r\n[comset]\r\n" + kGbkPort +
                             " = COM4 \r\n\xB2\xA8\xCC\xD8\xC2\xCA=19200\r\nauto=1";
    const PortSettings whole = ParsePortSettings(file);
    ASSERT_EQ(whole.port, "COM4");
    ASSERT_EQ(whole.baud, "19200");
    ASSERT_EQ(whole.autoConnect, 1);
    const IniKey keys[] = {kKeyPort, kKeyBaud, kKeyAuto};
    for (std::size_t block = 1; block <= file.size(); ++block) {
        IniSectionReader reader("comset", keys);
        for (std::size_t at = 0; at < file.size(); at += block)
            reader.Feed(std::string_view(file).substr(at, block));
        reader.Finish();
        EXPECT_EQ(reader.Value(0), "COM4") << block;
        EXPECT_EQ(reader.Value(1), "19200") << block;
        EXPECT_EQ(reader.Value(2), "1") << block;
    }
}

TEST(IniSectionReader, ALineLongerThanTheLimitIsSkippedPastAndLaterKeysAreFound)
{
    const std::string huge(3 * IniSectionReader::kLineLimit, 'x');
    const std::string file = "[comset]\r\n" + huge + "\r\n" + kGbkPort + "=" + huge + "\r\nauto=1\r\n";
    const PortSettings s = ParsePortSettings(file);
    EXPECT_EQ(s.port, huge.substr(0, kMaxTextValue));
    EXPECT_EQ(s.autoConnect, 1);
}

TEST(PortSettingsFile, ASaveReusesALeftoverTemporaryFileAndLeavesNone)
{
    test::TempDir dir;
    WriteBytes("set.ini", "[comset]\r\nauto=1\r\n");
    WriteBytes(TemporaryNameFor("set.ini"), "half a save that was killed");
    PortSettings s;
    s.port = "COM3";
    SavePortSettings("set.ini", s, true);
    EXPECT_EQ(LoadPortSettings("set.ini").port, "COM3");
    EXPECT_FALSE(std::filesystem::exists(TemporaryNameFor("set.ini")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

#ifndef _WIN32 // processes killed mid-save: fork and SIGKILL
// Saves killed at random moments leave set.ini whole and at most one
// temporary file, which the next completed save removes.
TEST(PortSettingsFile, KilledSavesLeaveAtMostOneTemporaryFile)
{
    test::TempDir dir;
    PortSettings a;
    a.port = "COM3";
    SavePortSettings("set.ini", a, false);
    std::mt19937 rng(7);
    for (int kill = 0; kill < 40; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            PortSettings b;
            b.port = "COM4";
            for (;;)
                SavePortSettings("set.ini", (rng() % 2) ? a : b, false);
        }
        usleep(static_cast<useconds_t>(rng() % 4000));
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        EXPECT_LE(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
        const std::string port = LoadPortSettings("set.ini").port;
        EXPECT_TRUE(port == "COM3" || port == "COM4") << port;
    }
    SavePortSettings("set.ini", a, false);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}
#endif

#ifndef _WIN32 // links, FIFOs and a second name made with POSIX calls
namespace {

// Whether a thread of this process waits for a file lock another holds, as
// the kernel lists it ("-> FLOCK ..." with our pid), within ten seconds.
bool WaitForALockWaiter()
{
    const std::string pid = " " + std::to_string(getpid()) + " ";
    for (int i = 0; i < 2000; ++i) {
        std::ifstream locks("/proc/locks");
        for (std::string line; std::getline(locks, line);)
            if (line.find("-> FLOCK") != std::string::npos && line.find(pid) != std::string::npos)
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

} // namespace

// Two saves at once, the first held between its read and its rename: the
// second waits its turn and reads the first's result, so both keys stay.
TEST(PortSettingsFile, TwoSavesAtOnceKeepBothChanges)
{
    test::TempDir dir;
    WriteBytes("set.ini", "[comset]\r\nauto=0\r\n");
    std::atomic<bool> first_in{false};
    bool second_waited = false;
    g_before_replace = [&] {
        // The first save holds its turn until the second waits for it.
        if (!first_in.exchange(true))
            second_waited = WaitForALockWaiter();
    };
    std::thread first([] { SaveToolSwitch("set.ini", kKeyLogFile, true); });
    while (!first_in.load())
        std::this_thread::yield();
    std::thread second([] { SaveToolSwitch("set.ini", kKeyTimestamps, true); });
    first.join();
    second.join();
    g_before_replace = nullptr;
    EXPECT_TRUE(second_waited);
    const StoredSettings stored = LoadStoredSettings("set.ini");
    EXPECT_TRUE(stored.options.log_to_file);
    EXPECT_TRUE(stored.options.timestamps);
}

// Whatever took the temporary file's name is removed and made anew, never
// written through: another user's file stays as it was.
TEST(PortSettingsFile, ATemporaryNameTakenByALinkFifoOrSecondNameIsMadeAnew)
{
    const struct {
        const char *name;
        std::function<void(const std::string &temp, const std::string &other)> make;
    } takers[] = {
        {"symlink", [](const std::string &t, const std::string &o) { std::filesystem::create_symlink(o, t); }},
        {"fifo", [](const std::string &t, const std::string &) { ASSERT_EQ(mkfifo(t.c_str(), 0644), 0); }},
        {"hard link", [](const std::string &t, const std::string &o) { std::filesystem::create_hard_link(o, t); }},
    };
    for (const auto &taker : takers) {
        SCOPED_TRACE(taker.name);
        test::TempDir dir;
        WriteBytes("other", "theirs\n");
        taker.make(TemporaryNameFor("set.ini"), (dir.Path() / "other").string());
        PortSettings s;
        s.port = "COM7";
        SavePortSettings("set.ini", s, false);
        EXPECT_EQ(LoadPortSettings("set.ini").port, "COM7");
        EXPECT_EQ(ReadFileBytes("other"), "theirs\n");
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(TemporaryNameFor("set.ini"))));
    }
}
#endif

// loglines out of range takes the nearest bound; no number, the default.
TEST(ToolOptionsFile, LogLinesOutOfRangeTakeTheNearestBound)
{
    const struct {
        const char *value;
        int lines;
    } rows[] = {{"50", kMinLogLines},        {"100", 100},         {"250000", 250000},
                {"20000000", kMaxLogLines}, {"-5", kMinLogLines}, {"many", ToolOptions{}.log_lines}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.value);
        test::TempDir dir;
        WriteBytes("set.ini", std::string("[comset]\r\nloglines=") + r.value + "\r\n");
        EXPECT_EQ(LoadStoredSettings("set.ini").options.log_lines, r.lines);
    }
}

// language=zh|en is the user's choice; any other value leaves it to the system.
TEST(ToolOptionsFile, LanguageIsReadOnlyFromItsTwoCodes)
{
    const struct {
        const char *line;
        std::optional<Language> language;
    } rows[] = {{"", std::nullopt},
                {"language=en\r\n", Language::English},
                {"language=zh\r\n", Language::Chinese},
                {"language=fr\r\n", std::nullopt},
                {"language=\r\n", std::nullopt}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.line);
        test::TempDir dir;
        WriteBytes("set.ini", std::string("[comset]\r\nreconnect=0\r\n") + r.line);
        EXPECT_EQ(LoadStoredSettings("set.ini").options.language, r.language);
        EXPECT_FALSE(LoadStoredSettings("set.ini").options.reconnect);
    }
}
