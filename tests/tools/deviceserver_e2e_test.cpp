// Readers behind a serial device server: the link's tcp:// and rfc2217://
// ports against Debian's ser2net serving the simulated reader's terminal,
// and against small servers of the test's own for what ser2net never does.
#include "protocol/frame.h"
#include "protocol/hexstr.h"
#include "serial/netsocket.h"
#include "serial/seriallink.h"
#include "serial/telnetcodec.h"
#include "tests/support/qtwait.h"
#include "tests/support/recordinglink.h"
#include "tests/support/readersim.h"
#include "tests/support/ser2net.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>
#include <vector>

using namespace rovi;
using namespace rovi::test;

namespace {

// The ID that gives a report of these fields a checksum byte of FF.
std::uint8_t IdForChecksumFF(FieldBytes fields)
{
    for (int id = 1; id <= 240; ++id) {
        fields[1] = static_cast<std::uint8_t>(id);
        if (Checksum(fields) == 0xFF)
            return static_cast<std::uint8_t>(id);
    }
    return 0;
}

// A server of the test's own on a loopback port: accepts one client and
// runs `serve` with its socket.
class OwnServer {
public:
    explicit OwnServer(std::function<void(int client)> serve)
    {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length);
        port_ = ntohs(address.sin_port);
        listen(listener_, 1);
        thread_ = std::thread([this, serve] {
            const int client = accept(listener_, nullptr, nullptr);
            if (client >= 0) {
                serve(client);
                close(client);
            }
        });
    }
    ~OwnServer()
    {
        shutdown(listener_, SHUT_RDWR);
        close(listener_);
        thread_.join();
    }
    std::string Url(const char *scheme) const { return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_); }

private:
    int listener_;
    int port_;
    std::thread thread_;
};

std::string ReceiveFor(int fd, int ms)
{
    timeval wait{0, ms * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    std::string got;
    char buffer[256];
    for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, 0)) > 0;)
        got.append(buffer, static_cast<std::size_t>(n));
    return got;
}

} // namespace

TEST(DeviceServer, RawTcpCarriesAQueryAndItsReportAsOneChunk)
{
    ReaderSim sim;
    Ser2Net server(sim.Path(), Ser2Net::Mode::Raw, 9600);
    RecordingLink link(server.Url(), 115200); // the server's rate holds, whatever the link asks
    ASSERT_TRUE(link.serial.IsNetwork());
    EXPECT_EQ(HexLine(link.Ask(ComposeQuery())), "FE F1 00 01 41 01 04 20 03 05 6F FF");
    EXPECT_EQ(link.chunks.size(), 1u) << "one reply, one chunk";
}

TEST(DeviceServer, Rfc2217SetsTheServersLineAndCarriesFFBothWays)
{
    ReaderSim sim({"--baud", "19200"});
    Ser2Net server(sim.Path(), Ser2Net::Mode::Rfc2217, 9600); // the server starts at another rate
    RecordingLink link(server.Url(), 19200);
    const std::string report = link.Ask(ComposeQuery());
    ASSERT_TRUE(VerifiedReport(report)) << HexLine(report) << "\n" << sim.Log();
    EXPECT_EQ(static_cast<std::uint8_t>(report[FramePos(Field::baud)]), EncodeBaud(4)) << "19200";

    // A report whose checksum is FF (and whose tail is FF, as every frame's).
    const std::uint8_t id = IdForChecksumFF(FieldBytesOf(*VerifiedReport(report)));
    ASSERT_NE(id, 0);
    EXPECT_EQ(HexLine(link.Ask(ComposeFieldSet(Field::id_addr, id))), "FE F1 00 FF");
    const std::string with_ff = link.Ask(ComposeQuery());
    ASSERT_TRUE(VerifiedReport(with_ff)) << HexLine(with_ff);
    EXPECT_EQ(HexLine(with_ff.substr(10)), "FF FF");

    // The program's rate moved away from the reader's: the server follows,
    // and the reader is no longer understood.
    link.serial.SetLineSettings(ReaderLine(9600));
    EXPECT_FALSE(VerifiedReport(link.Ask(ComposeQuery())));
    link.serial.SetLineSettings(ReaderLine(19200));
    EXPECT_TRUE(VerifiedReport(link.Ask(ComposeQuery())));
}

TEST(DeviceServer, AServerThatGoesAwayIsAHangUpAndCanBeOpenedAgainWhenBack)
{
    ReaderSim sim;
    Ser2Net server(sim.Path(), Ser2Net::Mode::Raw, 9600);
    RecordingLink link(server.Url(), 9600);
    server.Stop();
    ASSERT_TRUE(WaitUntil([&] { return link.hung_up; }, 5000));
    EXPECT_TRUE(link.serial.LineGone());
    link.serial.StopPort();
    try {
        link.serial.StartPort();
        ADD_FAILURE() << "opened a server that is not there";
    } catch (const SerialError &e) {
        EXPECT_EQ(e.Errno(), static_cast<int>(NetFailure::Refused));
    }
    server.Start();
    link.serial.StartPort();
    link.hung_up = false;
    EXPECT_TRUE(VerifiedReport(link.Ask(ComposeQuery())));
}

TEST(DeviceServer, AServerThatNeverAnswersGivesNothing)
{
    OwnServer silent([](int client) { ReceiveFor(client, 1500); });
    RecordingLink link(silent.Url("tcp"), 9600);
    EXPECT_EQ(link.Ask(ComposeQuery()), "");
    EXPECT_FALSE(link.hung_up);
}

TEST(DeviceServer, TelnetCommandsWeDoNotTakeAreRefusedAndAreNoData)
{
    std::string heard;
    OwnServer server([&heard](int client) {
        // Terminal type asked for, echo offered, a NOP and a break between data bytes.
        const std::string say = HexToBytes("FF FD 18 FF FB 01") + "AB" + HexToBytes("FF F1") + "C" + HexToBytes("FF F3") + "D";
        send(client, say.data(), say.size(), 0);
        heard = ReceiveFor(client, 800);
    });
    RecordingLink link(server.Url("rfc2217"), 9600);
    ASSERT_TRUE(WaitUntil([&] { return !link.chunks.empty(); }, 2000));
    Pump(200);
    ASSERT_EQ(link.chunks.size(), 1u);
    EXPECT_EQ(link.chunks[0], "ABCD");
    link.Send(ComposeQuery());
    Pump(900);
    link.serial.StopPort();
    const std::string hex = HexLine(heard);
    EXPECT_NE(hex.find("FF FC 18"), std::string::npos) << hex; // WONT terminal type
    EXPECT_NE(hex.find("FF FE 01"), std::string::npos) << hex; // DONT echo
    EXPECT_NE(hex.find("FF FA 2C 01 00 00 25 80 FF F0"), std::string::npos) << hex; // the rate, 9600
    EXPECT_NE(hex.find("FE F1 00 00 00 00 00 00 00 00 00 FF FF"), std::string::npos) << hex; // its FF doubled
}

TEST(DeviceServer, WhatCannotBeReachedIsAnOpenFailureThatSaysWhy)
{
    struct Row {
        std::string port;
        NetFailure failure;
    };
    const Row rows[] = {
        {"tcp://127.0.0.1:" + std::to_string(FreeTcpPort()), NetFailure::Refused},
        {"rfc2217://no-such-host.invalid:4001", NetFailure::UnknownHost},
        {"tcp://127.0.0.1", NetFailure::BadAddress},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.port);
        SerialLink link;
        link.SetPortName(r.port);
        try {
            link.StartPort();
            ADD_FAILURE() << "opened";
        } catch (const SerialError &e) {
            EXPECT_EQ(e.Errno(), static_cast<int>(r.failure));
        }
        EXPECT_FALSE(link.IsOpen());
    }
}
