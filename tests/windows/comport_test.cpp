// The serial link of the Windows build on a real COM port: Wine maps
// ROVI_TEST_COM to the pseudo-terminal of the simulated reader, which runs
// as a Linux program beside the tests (scripts/test-windows starts it).
#include "comport.h"

#include "protocol/frame.h"
#include "serial/seriallink.h"
#include "serial/portinfo.h"
#include "serial/readersearch.h"
#include "tests/support/qtwait.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

using namespace rovi;
using namespace rovi::test;

namespace {

struct Chunk {
    std::string bytes;
    qint64 at_ms;
};

void NoSoftwareFlowControl(SerialLink &link)
{
    link.SetLineSettings(ReaderLine(link.Line().baudRate));
}

// A link on the simulated reader's COM port that records its events.
class ComPortFixture : public testing::Test {
protected:
    void SetUp() override
    {
        RestoreFactorySet(TestComPort()); // each test starts from the factory set
        clock.start();
        comm.SetPortName(TestComPort());
        NoSoftwareFlowControl(comm); // as the program runs the line
        QObject::connect(&comm, &SerialLink::chunkReceived, [this](const QByteArray &chunk) {
            EXPECT_EQ(chunk.constData()[chunk.size()], '\0');
            chunks.push_back({chunk.toStdString(), clock.elapsed()});
        });
        QObject::connect(&comm, &SerialLink::hungUp, [this] { ++hangups; });
        QObject::connect(&comm, &SerialLink::sendQueueEmpty, [this] { ++empties; });
    }
    void TearDown() override { comm.StopPort(); }

    void Send(const Frame &frame) { comm.WriteAll(AsBytes(frame)); }

    SerialLink comm;
    QElapsedTimer clock;
    std::vector<Chunk> chunks;
    int hangups = 0;
    int empties = 0;
};

std::string StartFailure(SerialLink &comm)
{
    try {
        comm.StartPort();
    } catch (const SerialError &e) {
        return e.what();
    }
    return {};
}

} // namespace

TEST_F(ComPortFixture, AQueryIsAnsweredWithOneVerifiedReport)
{
    ASSERT_EQ(StartFailure(comm), "");
    ASSERT_TRUE(WaitUntil([&] { return empties == 1; })); // the writer has started
    Send(ComposeQuery());
    ASSERT_TRUE(WaitUntil([&] { return !chunks.empty(); }));
    Pump(300); // nothing else follows
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_TRUE(VerifiedReport(chunks[0].bytes).has_value());
    EXPECT_EQ(empties, 2); // the writer's first notice, and the one after the query
    EXPECT_EQ(hangups, 0);
}

// The driver's read interval cuts chunks: with 600 ms of it, replies 20 ms
// apart are one burst and 1.2 s apart two chunks (wide margins either way,
// under Wine too).
TEST_F(ComPortFixture, TheReadTimeoutsCutChunks)
{
    LineTimeouts timeouts = comm.Timeouts();
    timeouts.readInterval = 600;
    comm.SetTimeouts(timeouts);
    ASSERT_EQ(StartFailure(comm), "");
    Send(ComposeQuery());
    Pump(20);
    Send(ComposeQuery());
    ASSERT_TRUE(WaitUntil([&] { return !chunks.empty(); }, 5000));
    Pump(1200);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].bytes.size(), 2 * kFrameSize);

    chunks.clear();
    Send(ComposeQuery());
    Pump(1200);
    Send(ComposeQuery());
    ASSERT_TRUE(WaitUntil([&] { return chunks.size() == 2; }, 5000));
    EXPECT_EQ(chunks[0].bytes.size(), kFrameSize);
    EXPECT_EQ(chunks[1].bytes.size(), kFrameSize);
}

TEST_F(ComPortFixture, ASetIsAcknowledgedAndReadBack)
{
    ASSERT_EQ(StartFailure(comm), "");
    Send(ComposeFieldSet(Field::reread, 0x07));
    ASSERT_TRUE(WaitUntil([&] { return !chunks.empty(); }));
    ASSERT_EQ(chunks[0].bytes.size(), kAckSize);
    EXPECT_TRUE(AckSucceeded(std::span<const std::uint8_t, kAckSize>(
        reinterpret_cast<const std::uint8_t *>(chunks[0].bytes.data()), kAckSize)));
    Pump(150);
    chunks.clear();
    Send(ComposeQuery());
    ASSERT_TRUE(WaitUntil([&] { return !chunks.empty(); }));
    const auto report = VerifiedReport(chunks[0].bytes);
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ((*report)[FramePos(Field::reread)], 0x07);
}

TEST_F(ComPortFixture, ThePortIsHeldExclusivelyUntilStopped)
{
    ASSERT_EQ(StartFailure(comm), "");
    SerialLink second;
    second.SetPortName(TestComPort());
    try {
        second.StartPort();
        ADD_FAILURE() << "a second open succeeded";
    } catch (const SerialError &e) {
        EXPECT_STREQ(e.what(), "打开串口出错\r\n此串口不存在或被占用");
        EXPECT_EQ(DiagnoseOpenFailure(TestComPort(), e.Errno()).kind, OpenFailure::Kind::Busy);
    }
    EXPECT_EQ(StartFailure(comm), "此串口已经打开");

    QElapsedTimer stop;
    stop.start();
    comm.StopPort(); // with a read pending
    EXPECT_LT(stop.elapsed(), 2000);
    EXPECT_EQ(StartFailure(second), "");
    second.StopPort();
}

TEST(ComPort, AnAbsentPortFailsAndIsDiagnosedAsMissing)
{
    SerialLink comm;
    comm.SetPortName("COM199");
    try {
        comm.StartPort();
        FAIL() << "opened";
    } catch (const SerialError &e) {
        EXPECT_STREQ(e.what(), "打开串口出错\r\n此串口不存在或被占用");
        const OpenFailure failure = DiagnoseOpenFailure("COM199", e.Errno());
        EXPECT_EQ(failure.kind, OpenFailure::Kind::Missing);
        EXPECT_EQ(failure.path, "COM199");
    }
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(PortPresent("COM199"));
    EXPECT_TRUE(PortPresent(TestComPort()));
}

// 60,000 bytes in one go, 5,000 queries end to end: the writer takes them
// whole, and the reader answering every one of them shows every byte came
// through intact and in order.
TEST_F(ComPortFixture, ALongWriteIsWrittenWhole)
{
    ASSERT_EQ(StartFailure(comm), "");
    ASSERT_TRUE(WaitUntil([&] { return empties == 1; }));
    constexpr int kQueries = 5000;
    std::string queries;
    for (int i = 0; i < kQueries; ++i)
        queries += AsBytes(ComposeQuery());
    comm.WriteAll(queries);
    ASSERT_TRUE(WaitUntil([&] { return empties == 2; }, 15000));
    std::string replies;
    ASSERT_TRUE(WaitUntil([&] {
        replies.clear();
        for (const Chunk &c : chunks)
            replies += c.bytes;
        return replies.size() >= kQueries * kFrameSize;
    }, 30000)) << replies.size() << " bytes back";
    EXPECT_EQ(replies.size(), kQueries * kFrameSize);
    for (std::size_t i = 0; i + kFrameSize <= replies.size(); i += kFrameSize)
        ASSERT_TRUE(VerifiedReport(std::string_view(replies).substr(i, kFrameSize))) << "report " << i / kFrameSize;
    EXPECT_EQ(hangups, 0);
}

// The reader unplugged and plugged back in: the simulated reader on
// ROVI_TEST_COM_HANGUP takes a "hangup" through the file that
// ROVI_TEST_SIM_COMMANDS names, closes its terminal and drops its name;
// scripts/test-windows plugs a new one in under the same name 2 s later.
TEST(ComPortHangup, AnUnpluggedPortEndsInOneHangupNoticeAndOpensWhenBack)
{
    const char *port = std::getenv("ROVI_TEST_COM_HANGUP");
    const char *commands = std::getenv("ROVI_TEST_SIM_COMMANDS");
    if (!port || !commands)
        GTEST_SKIP() << "needs a simulated reader that takes commands (scripts/test-windows)";
    SerialLink comm;
    comm.SetPortName(port);
    int hangups = 0;
    QObject::connect(&comm, &SerialLink::hungUp, [&] { ++hangups; });
    std::string received;
    QObject::connect(&comm, &SerialLink::chunkReceived,
                     [&](const QByteArray &chunk) { received.append(chunk.constData(), static_cast<std::size_t>(chunk.size())); });
    ASSERT_TRUE(WaitUntil([&] { return PortPresent(port); }, 10000));
    ASSERT_EQ(StartFailure(comm), "");
    std::ofstream(commands) << "hangup\n";
    ASSERT_TRUE(WaitUntil([&] { return hangups > 0; }));
    Pump(300);
    EXPECT_EQ(hangups, 1); // one notice, whichever worker noticed first
    EXPECT_FALSE(PortPresent(port));
    comm.StopPort();

    ASSERT_TRUE(WaitUntil([&] { return PortPresent(port); }, 10000)); // plugged back in
    ASSERT_EQ(StartFailure(comm), "");
    NoSoftwareFlowControl(comm);
    comm.WriteAll(AsBytes(ComposeQuery()));
    ASSERT_TRUE(WaitUntil([&] { return received.size() >= kFrameSize; }));
    EXPECT_TRUE(VerifiedReport(received).has_value());
}

// The reader search through the Win32 serial calls: the simulated reader on
// its COM port is found at its rate.
TEST(ComPortSearch, FindsTheReaderOnItsComPort)
{
    RestoreFactorySet(TestComPort());
    ReaderSearch search;
    int found_rate = 0;
    bool finished = false;
    QObject::connect(&search, &ReaderSearch::found, [&](const QString &, int rate, const Frame &report) {
        EXPECT_TRUE(VerifyReport(report));
        found_rate = rate;
    });
    QObject::connect(&search, &ReaderSearch::finished, [&] { finished = true; });
    const std::vector<int> all(std::begin(kBaudRateValues), std::end(kBaudRateValues));
    search.Start({TestComPort()}, SearchRateOrder(all, std::nullopt));
    ASSERT_TRUE(WaitUntil([&] { return finished; }, 15000));
    EXPECT_EQ(found_rate, 9600);
}
