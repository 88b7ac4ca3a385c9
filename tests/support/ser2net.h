#pragma once

// A serial device server for the tests: Debian's ser2net, started on a free
// local TCP port and serving one device (the simulated reader's terminal),
// as raw TCP or as Telnet with RFC 2217. Stop and Start again keep the port,
// as a server that went away and came back. POSIX only.
#ifndef _WIN32

#include "tests/support/qtwait.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace rovi::test {

// A TCP port nobody listens on now.
inline int FreeTcpPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// Whether something accepts connections on the loopback port.
inline bool Listening(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

class Ser2Net {
public:
    enum class Mode { Raw, Rfc2217 };

    // Serves `device` with its line at `baud` 8N1 (what a tcp:// client gets;
    // an RFC 2217 client sets its own).
    Ser2Net(const std::string &device, Mode mode, int baud = 9600) : port_(FreeTcpPort())
    {
        const std::string accepter = std::string(mode == Mode::Rfc2217 ? "telnet(rfc2217),tcp," : "tcp,") +
                                     "127.0.0.1," + std::to_string(port_);
        config_ = dir_.filePath("ser2net.yaml").toStdString();
        std::ofstream(config_) << "%YAML 1.1\n---\nconnection: &reader\n"
                               << "    accepter: " << accepter << "\n"
                               << "    connector: serialdev," << device << "," << baud << "n81,local\n"
                               << "    options:\n      kickolduser: true\n";
        url_ = std::string(mode == Mode::Rfc2217 ? "rfc2217" : "tcp") + "://127.0.0.1:" + std::to_string(port_);
        Start();
    }
    ~Ser2Net() { Stop(); }
    Ser2Net(const Ser2Net &) = delete;
    Ser2Net &operator=(const Ser2Net &) = delete;

    // The port name a client opens.
    const std::string &Url() const { return url_; }
    int Port() const { return port_; }

    void Start()
    {
        // -n: in the foreground; -u: no UUCP lock files; its own pid file.
        process_.start(QStringLiteral("ser2net"),
                       {"-n", "-u", "-c", QString::fromStdString(config_), "-P", dir_.filePath("ser2net.pid")});
        ASSERT_TRUE(process_.waitForStarted(5000)) << "ser2net did not start (is it installed?)";
        ASSERT_TRUE(WaitUntil([&] { return Listening(port_); }, 5000))
            << "ser2net does not listen: " << process_.readAllStandardError().toStdString();
    }
    void Stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        process_.waitForFinished(5000);
    }

private:
    QTemporaryDir dir_;
    int port_;
    std::string config_;
    std::string url_;
    QProcess process_;
};

} // namespace rovi::test

#endif
