// Network port names, and the Telnet side of an RFC 2217 device server.
#include "serial/netport.h"
#include "serial/telnetcodec.h"

#include "protocol/hexstr.h"

#include <gtest/gtest.h>

using namespace rovi;

TEST(NetPort, NamesAServerOrNothing)
{
    struct Row {
        const char *name;
        bool net;
        NetPort::Kind kind;
        const char *host;
        const char *service;
    };
    const Row rows[] = {
        {"tcp://192.168.1.50:4001", true, NetPort::Kind::Tcp, "192.168.1.50", "4001"},
        {"rfc2217://server.site:2217", true, NetPort::Kind::Rfc2217, "server.site", "2217"},
        {"RFC2217://[::1]:7000/", true, NetPort::Kind::Rfc2217, "::1", "7000"},
        {"tcp://host", false, {}, "", ""},
        {"tcp://:4001", false, {}, "", ""},
        {"tcp://host:0", false, {}, "", ""},
        {"tcp://host:65536", false, {}, "", ""},
        {"tcp://host:40x1", false, {}, "", ""},
        {"tcp://::1:4001", false, {}, "", ""},
        {"tcp://user@host:4001", false, {}, "", ""},
        {"/dev/ttyUSB0", false, {}, "", ""},
        {"COM3", false, {}, "", ""},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        const auto port = ParseNetPort(r.name);
        ASSERT_EQ(port.has_value(), r.net);
        EXPECT_EQ(LooksLikeNetPort(r.name), std::string_view(r.name).find("://") != std::string_view::npos);
        if (!port)
            continue;
        EXPECT_EQ(port->kind, r.kind);
        EXPECT_EQ(port->host, r.host);
        EXPECT_EQ(port->service, r.service);
    }
}

namespace {

std::string Hex(const std::string &bytes)
{
    return HexLine(bytes);
}

} // namespace

TEST(TelnetCodec, EveryFFOfTheDataIsDoubledOutAndOneIn)
{
    // A report whose checksum byte is FF, then its FF tail.
    const std::string report = HexToBytes("FE F1 00 FF 00 00 00 00 00 00 FF FF");
    EXPECT_EQ(Hex(TelnetCodec::Encode(report)), "FE F1 00 FF FF 00 00 00 00 00 00 FF FF FF FF");
    TelnetCodec codec;
    std::string reply;
    const std::string wire = TelnetCodec::Encode(report);
    // Cut anywhere, even between the two bytes of a doubled FF.
    std::string data;
    for (std::size_t cut = 0; cut <= wire.size(); ++cut) {
        TelnetCodec fresh;
        data = fresh.Decode(wire.substr(0, cut), reply);
        data += fresh.Decode(wire.substr(cut), reply);
        EXPECT_EQ(Hex(data), Hex(report)) << "cut at " << cut;
    }
    EXPECT_EQ(reply, "");
}

TEST(TelnetCodec, NegotiationIsAnsweredOnceAndWhatWeDoNotDoIsRefused)
{
    TelnetCodec codec;
    EXPECT_EQ(Hex(codec.Start()), "FF FB 00 FF FB 03 FF FB 2C FF FD 00 FF FD 03");
    struct Row {
        const char *name;
        const char *in;
        const char *data;
        const char *reply;
    };
    const Row rows[] = {
        {"the server agrees to what we asked: no answer", "FF FD 00 FF FD 03 FF FD 2C FF FB 00 FF FB 03", "", ""},
        {"agreed again: still none", "FF FD 2C FF FB 03", "", ""},
        {"echo offered: refused", "FF FB 01", "", "FF FE 01"},
        {"terminal type asked for: refused", "FF FD 18", "", "FF FC 18"},
        {"asked again: refused again, never agreed", "FF FD 18", "", "FF FC 18"},
        {"a command between data bytes is no data", "31 FF F1 32 FF F3 33", "31 32 33", ""},
        {"the server's COM-PORT answer is no data", "34 FF FA 2C 65 00 00 25 80 FF F0 35", "34 35", ""},
        {"an FF doubled inside it neither", "FF FA 2C 6B FF FF FF F0 36", "36", ""},
        {"binary withdrawn: acknowledged", "FF FC 00", "", "FF FE 00"},
        {"and again: nothing", "FF FC 00", "", ""},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        std::string reply;
        EXPECT_EQ(Hex(codec.Decode(HexToBytes(r.in), reply)), r.data);
        EXPECT_EQ(Hex(reply), r.reply);
    }
    EXPECT_TRUE(codec.ComPortAgreed());
    // A subnegotiation that never ends gives the data back after its bound.
    std::string reply;
    const std::string endless = HexToBytes("FF FA 2C") + std::string(TelnetCodec::kMaxSubnegotiation, 'x') + "tail";
    EXPECT_EQ(codec.Decode(endless, reply), "tail");
}

TEST(TelnetCodec, TheLineSettingsAsComPortCommands)
{
    LineSettings line = ReaderLine(115200);
    line.parity = Parity::Even;
    line.dataBits = DataBits::Seven;
    line.stopBits = StopBits::Two;
    EXPECT_EQ(Hex(TelnetCodec::LineCommands(line)),
              "FF FA 2C 01 00 01 C2 00 FF F0 " // rate 115200, four bytes, network order
              "FF FA 2C 02 07 FF F0 "          // 7 data bits
              "FF FA 2C 03 03 FF F0 "          // even parity
              "FF FA 2C 04 02 FF F0 "          // 2 stop bits
              "FF FA 2C 05 01 FF F0 "          // no flow control
              "FF FA 2C 05 08 FF F0 "          // DTR on
              "FF FA 2C 05 0B FF F0");         // RTS on
    // A rate with an FF byte in it is doubled inside the subnegotiation.
    EXPECT_EQ(Hex(TelnetCodec::LineCommands(ReaderLine(0x0100FF))).substr(0, 32), "FF FA 2C 01 00 01 00 FF FF FF F0");
}
