// The simulated reader as a separate process on a real pseudo-terminal,
// driven through the serial link.
#include "protocol/frame.h"
#include "protocol/hexstr.h"
#include "serial/seriallink.h"
#include "tests/support/qtwait.h"
#include "tests/support/readersim.h"
#include "tests/support/recordinglink.h"
#include "tests/support/tempdir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include <vector>

using namespace rovi;
using namespace rovi::test;

TEST(ReaderSimProcess, AnswersAQueryWithOneTwelveByteBurst)
{
    ReaderSim sim;
    ASSERT_FALSE(sim.Path().empty());
    RecordingLink link(sim.Path());
    link.Send(ComposeQuery());
    ASSERT_TRUE(WaitUntil([&] { return !link.chunks.empty(); }));
    Pump(300);
    ASSERT_EQ(link.chunks.size(), 1u);
    EXPECT_EQ(HexLine(link.chunks[0]), "FE F1 00 01 41 01 04 20 03 05 6F FF");
}

TEST(ReaderSimProcess, SplitFaultGivesTwoChunks)
{
    ReaderSim sim;
    RecordingLink link(sim.Path());
    sim.Command("split\n");
    link.Send(ComposeFieldSet(Field::id_addr, 7));
    ASSERT_TRUE(WaitUntil([&] { return link.chunks.size() == 2; }));
    EXPECT_EQ(HexLine(link.chunks[0] + link.chunks[1]), "FE F1 00 FF");
}

// A simulator started in the background takes its commands from the FIFO
// --control makes: a hang-up there is an unplugged adapter, and the FIFO
// goes with the simulator.
TEST(ReaderSimProcess, TheControlFifoTakesCommands)
{
    test::TempDir dir;
    const std::string control = (dir.Path() / "control").string();
    ReaderSim sim({"--control", QString::fromStdString(control)});
    ASSERT_FALSE(sim.Path().empty());
    struct stat st {};
    ASSERT_EQ(stat(control.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    RecordingLink link(sim.Path());
    int hangups = 0;
    QObject::connect(&link.serial, &SerialLink::hungUp, [&] { ++hangups; });
    std::ofstream(control) << "hangup\n";
    ASSERT_TRUE(WaitUntil([&] { return hangups == 1; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return stat(control.c_str(), &st) != 0; }, 5000)); // removed on exit
}

// reader-sim --baud: it answers only a line at its rate; at another rate
// the same number of bytes comes back garbled, never a frame. Setting its
// baud field moves it to the new rate after the acknowledgement.
TEST(ReaderSimProcess, AnswersOnlyAtItsBaudRate)
{
    ReaderSim sim({"--baud", "115200"});
    RecordingLink link(sim.Path()); // at 9600
    link.Send(ComposeQuery());
    ASSERT_TRUE(WaitUntil([&] { return !link.chunks.empty(); }));
    ASSERT_EQ(link.chunks[0].size(), kFrameSize);
    EXPECT_EQ(link.chunks[0].find('\xFE'), std::string::npos) << HexLine(link.chunks[0]);

    link.chunks.clear();
    link.serial.SetLineSettings(ReaderLine(115200));
    link.Send(ComposeQuery());
    ASSERT_TRUE(WaitUntil([&] { return !link.chunks.empty(); }));
    ASSERT_TRUE(VerifiedReport(link.chunks[0]).has_value()) << HexLine(link.chunks[0]);
    EXPECT_EQ((*VerifiedReport(link.chunks[0]))[FramePos(Field::baud)], EncodeBaud(7));

    link.chunks.clear();
    link.Send(ComposeFieldSet(Field::baud, EncodeBaud(0))); // to 1200
    ASSERT_TRUE(WaitUntil([&] { return !link.chunks.empty(); }));
    EXPECT_EQ(HexLine(link.chunks[0]), "FE F1 00 FF"); // acknowledged at the old rate
    link.chunks.clear();
    link.serial.SetLineSettings(ReaderLine(1200));
    link.Send(ComposeQuery());
    ASSERT_TRUE(WaitUntil([&] { return !link.chunks.empty(); }));
    EXPECT_TRUE(VerifiedReport(link.chunks[0]).has_value()) << HexLine(link.chunks[0]);
}
