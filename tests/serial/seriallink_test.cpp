#include "serial/seriallink.h"
#include "serial/serialconstants.h"
#include "serial/termiosline.h"
#include "serial/readplan.h"
#include "serial/serialreader.h"
#include "tests/support/pty.h"
#include "tests/support/qtwait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <termios.h>

#include <gtest/gtest.h>

#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

using namespace rovi;
using namespace rovi::test;
using namespace std::string_literals;

namespace {

struct Chunk {
    std::string bytes;
    qint64 at_ms;
};

// A link on a fresh pseudo-terminal that records every event.
class LinkFixture : public testing::Test {
protected:
    void SetUp() override
    {
        clock.start();
        comm.SetPortName(pty.SlavePath());
        // The line the program runs: no software flow control, which would
        // otherwise swallow the 0x11 and 0x13 bytes of the test patterns.
        ChangeLine([](LineSettings &line) {
            line.outxXonXoffFlow = false;
            line.inxXonXoffFlow = false;
        });
        ListenForChunks();
        QObject::connect(&comm, &SerialLink::hungUp, [this] { ++hangups; });
        QObject::connect(&comm, &SerialLink::sendQueueEmpty, [this] { ++empties; });
    }

    void ListenForChunks()
    {
        chunk_slot = QObject::connect(&comm, &SerialLink::chunkReceived, [this](const QByteArray &chunk) {
            EXPECT_EQ(chunk.constData()[chunk.size()], '\0');
            chunks.push_back({chunk.toStdString(), clock.elapsed()});
        });
    }
    template <class Change> void ChangeLine(Change change)
    {
        LineSettings line = comm.Line();
        change(line);
        comm.SetLineSettings(line);
    }
    void SetReadInterval(std::uint32_t ms)
    {
        LineTimeouts timeouts = comm.Timeouts();
        timeouts.readInterval = ms;
        comm.SetTimeouts(timeouts);
    }
    void TearDown() override { comm.StopPort(); }

    std::string Received() const
    {
        std::string all;
        for (const auto &c : chunks)
            all += c.bytes;
        return all;
    }

    Pty pty;
    SerialLink comm;
    QElapsedTimer clock;
    std::vector<Chunk> chunks;
    int hangups = 0;
    int empties = 0;
    QMetaObject::Connection chunk_slot;
};

std::string Pattern(std::size_t n)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

std::string StartFailure(SerialLink &comm)
{
    try {
        comm.StartPort();
    } catch (const SerialError &e) {
        return e.what();
    }
    return "started";
}

int CountEntries(const char *dir)
{
    int n = 0;
    for ([[maybe_unused]] const auto &e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

} // namespace

TEST_F(LinkFixture, OneBurstGivesOneChunkAboutAHundredMillisecondsAfterItsLastByte)
{
    comm.StartPort();
    const qint64 sent = clock.elapsed();
    pty.Write("\xFE\xF1\x00\x05\x42\x01\x04\x20\x03\x45\xB4\xFF"s);
    ASSERT_TRUE(WaitUntil([&] { return !chunks.empty(); }));
    Pump(300);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].bytes.size(), 12u);
    EXPECT_GE(chunks[0].at_ms - sent, 95);
    EXPECT_LT(chunks[0].at_ms - sent, 1000); // a loose bound: not held back for long
}

TEST_F(LinkFixture, BurstsTwentyMillisecondsApartMergeAndThreeHundredApartSplit)
{
    comm.StartPort();
    // The gap is measured, not assumed: a test thread descheduled past the
    // silence between the two writes (a loaded machine, ThreadSanitizer)
    // tries again rather than calling that a fault.
    bool close_enough = false;
    for (int attempt = 0; attempt < 5 && !close_enough; ++attempt) {
        chunks.clear();
        pty.Write("0123");
        QElapsedTimer gap;
        gap.start();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        pty.Write("4567");
        close_enough = gap.elapsed() < 70;
        ASSERT_TRUE(WaitUntil([&] { return Received().size() == 8; }));
        Pump(300);
    }
    ASSERT_TRUE(close_enough) << "no two writes within 70 ms in five tries";
    pty.Write("89"); // 300 ms and more after the last byte
    ASSERT_TRUE(WaitUntil([&] { return chunks.size() >= 2; }));
    Pump(300);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].bytes, "01234567");
    EXPECT_EQ(chunks[1].bytes, "89");
}

TEST_F(LinkFixture, AContinuousStreamIsCutInto4096ByteChunksThenTheRest)
{
    comm.StartPort();
    const std::string data = Pattern(10000);
    std::thread writer([&] { pty.Write(data); });
    ASSERT_TRUE(WaitUntil([&] { return Received().size() >= data.size(); }, 10000));
    writer.join();
    Pump(200);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].bytes.size(), 4096u);
    EXPECT_EQ(chunks[1].bytes.size(), 4096u);
    EXPECT_EQ(chunks[2].bytes.size(), 10000u - 8192u);
    EXPECT_TRUE(Received() == data) << "bytes lost, repeated or reordered";
}

TEST_F(LinkFixture, AHandlerThatCannotKeepUpHoldsTheReaderAtTheBacklogLimit)
{
    constexpr std::size_t kLimit = 64 * 1024;
    comm.SetReceiveBacklogLimit(kLimit);
    comm.StartPort();
    std::string received;
    std::size_t most_held = 0;
    QObject::disconnect(chunk_slot);
    bool first = true;
    QObject::connect(&comm, &SerialLink::chunkReceived, [&](const QByteArray &chunk) {
        if (first) {
            // A window that is busy: the first chunk's handler holds the
            // thread until the reader has filled the backlog to its limit.
            first = false;
            QElapsedTimer waited;
            waited.start();
            while (comm.ReceiveBacklogHeld() < kLimit && waited.elapsed() < 30000)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        most_held = std::max(most_held, comm.ReceiveBacklogHeld());
        received.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    });
    const std::string data = Pattern(2 * 1024 * 1024);
    std::thread sender([&] { pty.Write(data); }); // blocks while the driver is full
    EXPECT_TRUE(WaitUntil([&] { return received.size() == data.size(); }, 60000));
    sender.join();
    EXPECT_TRUE(received == data) << "bytes lost, repeated or out of order";
    EXPECT_LE(most_held, kLimit + kReadBufferSize); // at most one chunk past the limit
    EXPECT_GT(most_held, kLimit / 2);               // and the handler really was behind
}

TEST_F(LinkFixture, SilenceGivesNoEvent)
{
    comm.StartPort();
    Pump(400);
    EXPECT_TRUE(chunks.empty());
    EXPECT_EQ(hangups, 0);
}

TEST_F(LinkFixture, WithoutAnIntervalTimeOutOnlyFullBuffersComplete)
{
    SetReadInterval(0);
    comm.StartPort();
    const std::string data = Pattern(5000);
    std::thread writer([&] { pty.Write(data); });
    ASSERT_TRUE(WaitUntil([&] { return !chunks.empty(); }, 10000));
    writer.join();
    Pump(400);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_TRUE(chunks[0].bytes == data.substr(0, 4096)) << "wrong first 4096 bytes";
}

TEST_F(LinkFixture, BytesNotYetClosedBySilenceAreDroppedByStopPort)
{
    SetReadInterval(1500); // a wide margin before the chunk would close
    comm.StartPort();
    pty.Write("12345");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    comm.StopPort();
    Pump(300);
    EXPECT_TRUE(chunks.empty());
    EXPECT_EQ(hangups, 0);
}

// A chunk the reader has queued but the link has not emitted yet belongs to
// the open that StopPort ends: never emitted, and no longer held.
TEST_F(LinkFixture, ChunksQueuedBeforeStopPortAreNeverEmitted)
{
    comm.StartPort();
    pty.Write("12345");
    ASSERT_TRUE(WaitWithoutEvents([&] { return comm.ReceiveBacklogHeld() == 5; }));
    comm.StopPort();
    EXPECT_EQ(comm.ReceiveBacklogHeld(), 0u);
    Pump(300);
    EXPECT_TRUE(chunks.empty());
    // The next open starts with nothing of the last.
    comm.StartPort();
    pty.Write("678");
    ASSERT_TRUE(WaitUntil([&] { return !chunks.empty(); }));
    EXPECT_EQ(Received(), "678");
}

// The first of two chunks already queued opens a message box (a nested
// event loop, as 设置成功 does): the second is emitted while the box is open,
// not only after it closes.
TEST_F(LinkFixture, NoticesQueuedBehindAMessageBoxAreEmittedWhileItIsOpen)
{
    comm.StartPort();
    pty.Write("first");
    ASSERT_TRUE(WaitWithoutEvents([&] { return comm.ReceiveBacklogHeld() == 5; }));
    pty.Write("second");
    ASSERT_TRUE(WaitWithoutEvents([&] { return comm.ReceiveBacklogHeld() == 11; }));
    QObject::disconnect(chunk_slot);
    std::vector<std::string> while_open;
    bool in_box = false;
    QObject::connect(&comm, &SerialLink::chunkReceived, [&](const QByteArray &chunk) {
        if (in_box) {
            while_open.push_back(chunk.toStdString());
            return;
        }
        in_box = true;
        QEventLoop box; // the box stays up for a second, or until the next chunk came
        QTimer::singleShot(1000, &box, &QEventLoop::quit);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &box, [&] {
            if (!while_open.empty())
                box.quit();
        });
        poll.start(5);
        box.exec();
        in_box = false;
    });
    ASSERT_TRUE(WaitUntil([&] { return comm.ReceiveBacklogHeld() == 0 && !in_box; }));
    EXPECT_EQ(while_open, std::vector<std::string>{"second"});
}

TEST_F(LinkFixture, RequestsReachTheDeviceCompleteAndInOrder)
{
    comm.StartPort();
    const std::string big = Pattern(65535);
    EXPECT_TRUE(comm.WriteBytes("abc", 3));
    EXPECT_TRUE(comm.WriteBytes(big.data(), 65535));
    EXPECT_TRUE(comm.WriteBytes("xyz", 3));
    const std::string got = pty.Read(3 + 65535 + 3);
    ASSERT_EQ(got.size(), 3u + 65535u + 3u);
    EXPECT_TRUE(got == "abc" + big + "xyz") << "bytes lost, repeated or reordered";
}

TEST_F(LinkFixture, SendDataEmptyOnceAfterStartAndOnceAfterEachDrain)
{
    comm.StartPort();
    ASSERT_TRUE(WaitUntil([&] { return empties == 1; }));
    Pump(200);
    EXPECT_EQ(empties, 1); // nothing written: no further notice
    EXPECT_TRUE(comm.WriteBytes("abc", 3));
    EXPECT_EQ(pty.Read(3), "abc");
    ASSERT_TRUE(WaitUntil([&] { return empties == 2; }));
    Pump(200);
    EXPECT_EQ(empties, 2);
}

TEST_F(LinkFixture, NoSendDataEmptyAfterStopPort)
{
    comm.StartPort();
    ASSERT_TRUE(WaitUntil([&] { return empties == 1; }));
    comm.StopPort();
    Pump(200);
    EXPECT_EQ(empties, 1);
    EXPECT_FALSE(comm.WriteBytes("a", 1));
}

TEST_F(LinkFixture, StartingTwiceFailsAndLeavesThePortRunning)
{
    comm.StartPort();
    EXPECT_EQ(StartFailure(comm), "此串口已经打开");
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_TRUE(comm.WriteBytes("ok", 2));
    EXPECT_EQ(pty.Read(2), "ok");
    pty.Write("in");
    EXPECT_TRUE(WaitUntil([&] { return Received() == "in"; }));
}

TEST_F(LinkFixture, NamesThatOpenNoTtyFailAndLeaveNothingHalfOpen)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("rovi-comm-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "plain-file") << "not a tty";
    const std::string open_failure = "打开串口出错\r\n此串口不存在或被占用";
    for (const std::string &name : {std::string(), (dir / "missing").string(), (dir / "plain-file").string(),
                                   dir.string(), std::string("not-a-port")}) {
        SCOPED_TRACE(name);
        comm.SetPortName(name);
        EXPECT_EQ(StartFailure(comm), open_failure);
        EXPECT_FALSE(comm.IsOpen());
        EXPECT_FALSE(comm.WriteBytes("a", 1));
    }
    std::filesystem::remove_all(dir);
    comm.SetPortName(pty.SlavePath());
    EXPECT_EQ(StartFailure(comm), "started");
}

TEST_F(LinkFixture, ASecondLinkCannotOpenTheSameDevice)
{
    comm.StartPort();
    SerialLink other;
    other.SetPortName(pty.SlavePath());
    EXPECT_EQ(StartFailure(other), "打开串口出错\r\n此串口不存在或被占用");
    EXPECT_FALSE(other.IsOpen());
    comm.StopPort();
    EXPECT_EQ(StartFailure(other), "started"); // released on close
    other.StopPort();
}

TEST_F(LinkFixture, WriteBytesRefusesAClosedPortAndAnEmptyRequest)
{
    EXPECT_FALSE(comm.WriteBytes("a", 1));
    comm.StartPort();
    ASSERT_TRUE(WaitUntil([&] { return empties == 1; }));
    EXPECT_FALSE(comm.WriteBytes("a", 0));
    Pump(200);
    EXPECT_EQ(empties, 1);
}

TEST_F(LinkFixture, TheDeviceGoingAwayGivesHangupAndLaterWritesFail)
{
    comm.StartPort();
    ASSERT_TRUE(WaitUntil([&] { return empties == 1; }));
    pty.DropKeeper();
    pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return hangups >= 1; }));
    EXPECT_TRUE(comm.IsOpen()); // stays open until StopPort
    // The writer notices at its next request and ends too: still one hang-up.
    comm.WriteBytes("x", 1);
    EXPECT_TRUE(WaitUntil([&] { return !comm.WriteBytes("y", 1); }));
    Pump(300);
    EXPECT_EQ(hangups, 1);
    comm.StopPort();
    EXPECT_FALSE(comm.IsOpen());
}

TEST_F(LinkFixture, TheLineDroppingWhileTheWriterIsBusyGivesOneHangup)
{
    comm.StartPort();
    // More than the terminal takes while nobody reads it: the writer is
    // left waiting in the middle of a request when the line drops.
    const std::string big = Pattern(60000);
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(comm.WriteBytes(big.data(), static_cast<std::uint16_t>(big.size())));
    ASSERT_TRUE(WaitUntil([&] { return pty.Readable() > 0; })); // writing, and far from done
    pty.DropKeeper();
    pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return hangups >= 1; }));
    ASSERT_TRUE(WaitUntil([&] { return !comm.WriteBytes("y", 1); })); // the writer has ended as well
    Pump(300);
    EXPECT_EQ(hangups, 1);
}

// 关闭COM口 while the writer waits in the middle of a request nobody reads:
// StopPort returns, nothing of that open is said afterwards (no hang-up,
// no "queue empty"), and the port takes no more writes.
TEST_F(LinkFixture, StopPortWhileTheWriterWaitsEndsItQuietly)
{
    comm.StartPort();
    ASSERT_TRUE(WaitUntil([&] { return empties == 1; }));
    const std::string big = Pattern(60000);
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(comm.WriteBytes(big.data(), static_cast<std::uint16_t>(big.size())));
    // The writer has begun: nobody reads, so it waits in the middle of its requests.
    ASSERT_TRUE(WaitUntil([&] { return pty.Readable() > 0; }));
    comm.StopPort();
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(comm.WriteBytes("y", 1));
    Pump(300);
    EXPECT_EQ(hangups, 0);
    EXPECT_EQ(empties, 1);
}

namespace {

// Empties the input queue once, between the reader's poll and its read, as
// StopPort's purge may.
std::atomic<int> g_reads_seen{0};
void PurgeBeforeFirstRead(int fd)
{
    if (g_reads_seen.fetch_add(1) == 0)
        tcflush(fd, TCIFLUSH);
}

struct BeforeReadHookScope {
    explicit BeforeReadHookScope(void (*hook)(int)) { SerialReader::BeforeReadHook = hook; }
    ~BeforeReadHookScope() { SerialReader::BeforeReadHook = nullptr; }
};

} // namespace

namespace {

std::atomic<long long> g_rests{0};
std::atomic<long long> g_longest_rest_us{0};
void RecordRest(std::chrono::steady_clock::duration rest_end)
{
    ++g_rests;
    const long long us = std::chrono::duration_cast<std::chrono::microseconds>(rest_end).count();
    long long seen = g_longest_rest_us.load();
    while (us > seen && !g_longest_rest_us.compare_exchange_weak(seen, us)) {
    }
}

struct RestHookScope {
    RestHookScope()
    {
        g_rests = 0;
        g_longest_rest_us = 0;
        SerialReader::RestHook = &RecordRest;
    }
    ~RestHookScope() { SerialReader::RestHook = nullptr; }
};

} // namespace

// On a streaming line the reader rests between reads, never longer than
// its pause after the last byte, so no silence of the interval is missed.
TEST_F(LinkFixture, TheReaderRestsAtMostAPauseAfterTheLastByte)
{
    const RestHookScope hook;
    comm.StartPort();
    const auto pause = GatherPause(PlanRead(comm.Timeouts()));
    ASSERT_GT(pause.count(), 0);
    std::string sent;
    for (int i = 0; i < 150; ++i) { // a byte every 2 ms for about 300 ms
        const std::string byte(1, static_cast<char>('a' + i % 26));
        pty.Write(byte);
        sent += byte;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_TRUE(WaitUntil([&] { return Received().size() == sent.size(); }));
    EXPECT_EQ(Received(), sent);
    EXPECT_GT(g_rests.load(), 0);
    EXPECT_GT(g_longest_rest_us.load(), 0);
    EXPECT_LE(g_longest_rest_us.load(), std::chrono::duration_cast<std::chrono::microseconds>(pause).count());
}

TEST_F(LinkFixture, AnInputQueueEmptiedBetweenPollAndReadIsNoHangup)
{
    g_reads_seen = 0;
    const BeforeReadHookScope hook(&PurgeBeforeFirstRead);
    comm.StartPort();
    pty.Write("lost");
    ASSERT_TRUE(WaitUntil([&] { return g_reads_seen.load() > 0; }));
    Pump(300);
    pty.Write("kept"); // the reader is still there
    ASSERT_TRUE(WaitUntil([&] { return !chunks.empty(); }));
    EXPECT_EQ(Received(), "kept");
    EXPECT_EQ(hangups, 0);
}

TEST_F(LinkFixture, StopPortWithReadsPendingGivesNoHangup)
{
    comm.StartPort();
    Pump(50);
    comm.StopPort();
    comm.StopPort(); // twice closes once
    Pump(200);
    EXPECT_EQ(hangups, 0);
}

TEST_F(LinkFixture, AChunkWithNoSlotConnectedIsDropped)
{
    QObject::disconnect(chunk_slot);
    comm.StartPort();
    pty.Write("abc");
    Pump(300);
    ListenForChunks();
    pty.Write("def");
    ASSERT_TRUE(WaitUntil([&] { return !chunks.empty(); }));
    EXPECT_EQ(Received(), "def");
}

TEST_F(LinkFixture, LineSettingsReachTheOpenLineOnlyWhenAValueChanges)
{
    ChangeLine([](LineSettings &line) { line.baudRate = 19200; }); // closed: stored only
    comm.StartPort();
    const int line = pty.MasterFd();
    ASSERT_EQ(ReadLineBaudRate(line), 19200u);
    // Another program changes the line: settings equal to those stored make
    // no device call, so the change stays.
    ASSERT_TRUE(SetLineBaudRate(line, 1200));
    ChangeLine([](LineSettings &l) { l.baudRate = 19200; });
    EXPECT_EQ(ReadLineBaudRate(line), 1200u);
    // A change reaches the open line at once, parity included. (A
    // pseudo-terminal always clears PARENB, but keeps the PARODD that odd
    // parity sets.)
    termios t{};
    ASSERT_EQ(tcgetattr(line, &t), 0);
    EXPECT_EQ(t.c_cflag & PARODD, 0u);
    ChangeLine([](LineSettings &l) { l.parity = Parity::Odd; });
    ASSERT_EQ(tcgetattr(line, &t), 0);
    EXPECT_EQ(t.c_cflag & PARODD, static_cast<tcflag_t>(PARODD));
    ChangeLine([](LineSettings &l) { l.baudRate = 38400; });
    EXPECT_EQ(ReadLineBaudRate(line), 38400u);
}

TEST_F(LinkFixture, AThousandOpenCloseCyclesLeaveNoDescriptorOrThreadBehind)
{
    comm.StartPort();
    comm.StopPort();
    Pump(50);
    const int fds = CountEntries("/proc/self/fd");
    const int threads = CountEntries("/proc/self/task");
    for (int i = 0; i < 1000; ++i) {
        comm.StartPort();
        comm.StopPort();
    }
    Pump(50);
    EXPECT_EQ(CountEntries("/proc/self/fd"), fds);
    EXPECT_EQ(CountEntries("/proc/self/task"), threads);
}

// Two writes 300 ms apart: an interval of 1.5 s merges them (1.2 s of
// margin); return-at-once delivers each read as it is (300 ms of margin).
TEST_F(LinkFixture, ReturnAtOnceModeDeliversEachReadWithoutWaitingForSilence)
{
    const struct {
        const char *mode;
        std::uint32_t interval;
        std::vector<std::string> expected;
    } rows[] = {
        {"interval 1.5 s", 1500, {"ab"}},
        {"return at once", kTimeoutAllOnes, {"a", "b"}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.mode);
        chunks.clear();
        SetReadInterval(row.interval);
        comm.StartPort();
        pty.Write("a");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        pty.Write("b");
        ASSERT_TRUE(WaitUntil([&] { return Received() == "ab"; }, 5000));
        Pump(300);
        std::vector<std::string> got;
        for (const Chunk &c : chunks)
            got.push_back(c.bytes);
        EXPECT_EQ(got, row.expected);
        comm.StopPort();
    }
}

TEST(LinkLifetime, NoticesQueuedForADestroyedLinkAreNeverDelivered)
{
    Pty pty;
    int delivered = 0;
    {
        SerialLink comm;
        comm.SetPortName(pty.SlavePath());
        QObject::connect(&comm, &SerialLink::chunkReceived, [&] { ++delivered; });
        QObject::connect(&comm, &SerialLink::sendQueueEmpty, [&] { ++delivered; });
        comm.StartPort();
        pty.Write("queued");
        // The reader posts the chunk; the event loop does not run meanwhile.
        ASSERT_TRUE(WaitWithoutEvents([&] { return comm.ReceiveBacklogHeld() == 6; }));
        comm.StopPort();
    }
    Pump(200); // the queued notices die with their link
    EXPECT_EQ(delivered, 0);
}
