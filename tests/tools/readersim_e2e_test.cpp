// The simulated reader as a separate process on a real pseudo-terminal,
// driven through the serial component.
#include "protocol/frame.h"
#include "protocol/hexstr.h"
#include "serial/seriallink.h"
#include "tests/support/qtwait.h"
#include "tests/support/readersim.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <vector>

using namespace rovi;
using namespace rovi::test;

namespace {

struct Link {
    SerialLink comm;
    std::vector<std::string> chunks;
    explicit Link(const std::string &path)
    {
        comm.SetPortName(path);
        comm.SetLineSettings(ReaderLine(19200));
        QObject::connect(&comm, &SerialLink::chunkReceived, [this](const QByteArray &chunk) { chunks.push_back(chunk.toStdString()); });
        comm.StartPort();
    }
    void Send(const Frame &f) { comm.WriteBytes(f.data(), static_cast<std::uint16_t>(f.size())); }
};

} // namespace

TEST(ReaderSimProcess, AnswersAQueryWithOneTwelveByteBurst)
{
    ReaderSim sim;
    ASSERT_FALSE(sim.Path().empty());
    Link link(sim.Path());
    link.Send(ComposeQuery());
    ASSERT_TRUE(WaitUntil([&] { return !link.chunks.empty(); }));
    Pump(300);
    ASSERT_EQ(link.chunks.size(), 1u);
    EXPECT_EQ(HexLine(link.chunks[0]), "FE F1 00 01 41 01 04 20 03 05 6F FF");
}

TEST(ReaderSimProcess, SplitFaultGivesTwoChunks)
{
    ReaderSim sim;
    Link link(sim.Path());
    sim.Command("split\n");
    Pump(100);
    link.Send(ComposeFieldSet(Field::id_addr, 7));
    ASSERT_TRUE(WaitUntil([&] { return link.chunks.size() == 2; }));
    EXPECT_EQ(HexLine(link.chunks[0] + link.chunks[1]), "FE F1 00 FF");
}
