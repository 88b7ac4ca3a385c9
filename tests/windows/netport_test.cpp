// Network ports in the Windows build (Winsock), under Wine, against the
// ser2net that scripts/test-windows starts on Linux in front of a simulated
// reader: ROVI_TEST_NET_TCP (raw TCP, its line at 9600) and
// ROVI_TEST_NET_RFC2217 (Telnet, its line started at 19200).
#include "protocol/frame.h"
#include "protocol/hexstr.h"
#include "serial/netsocket.h"
#include "serial/seriallink.h"
#include "tests/support/qtwait.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace rovi;
using namespace rovi::test;

namespace {

std::string Env(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

// The query's answer on `port` at `baud`, all chunks of a second joined.
std::string QueryOn(const std::string &port, std::uint32_t baud)
{
    SerialLink link;
    link.SetPortName(port);
    link.SetLineSettings(ReaderLine(baud));
    std::string got;
    QObject::connect(&link, &SerialLink::chunkReceived, [&](const QByteArray &chunk) { got += chunk.toStdString(); });
    link.StartPort();
    link.WriteAll(AsBytes(ComposeQuery()));
    WaitUntil([&] { return got.size() >= kFrameSize; }, 2000);
    Pump(200);
    link.StopPort();
    return got;
}

} // namespace

TEST(WinsockDeviceServer, RawTcpAndRfc2217AnswerAQuery)
{
    const std::string tcp = Env("ROVI_TEST_NET_TCP");
    const std::string rfc2217 = Env("ROVI_TEST_NET_RFC2217");
    if (tcp.empty() || rfc2217.empty())
        GTEST_SKIP() << "no device server (scripts/test-windows starts one)";
    EXPECT_EQ(HexLine(QueryOn(tcp, 9600)), "FE F1 00 01 41 01 04 20 03 05 6F FF");
    // The server's line starts at 19200; the reader answers only at 9600.
    EXPECT_EQ(HexLine(QueryOn(rfc2217, 9600)), "FE F1 00 01 41 01 04 20 03 05 6F FF");
}

TEST(WinsockDeviceServer, ARefusedConnectionIsAnOpenFailure)
{
    SerialLink link;
    link.SetPortName("tcp://127.0.0.1:9");
    try {
        link.StartPort();
        ADD_FAILURE() << "opened";
    } catch (const SerialError &e) {
        EXPECT_EQ(e.Errno(), static_cast<int>(NetFailure::Refused));
    }
}
