// Serial link figures on a pseudo-terminal: receive-event delay after the
// last byte, sustained throughput with every byte checked, and the CPU an
// idle open port costs. Prints figures; asserts nothing about speed.
#include "serial/seriallink.h"
#include "tests/support/pty.h"

#include "benchargs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

using namespace rovi;

namespace {

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop (sleeping, not spinning) until done() or timeout.
void RunUntil(const std::function<bool()> &done, int timeout_ms)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(1);
    QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
}

void PrepareComm(SerialLink &comm, const std::string &path)
{
    comm.SetPortName(path);
    comm.SetLineSettings(ReaderLine(19200));
}

void Latency(int bursts)
{
    test::Pty pty;
    SerialLink comm;
    PrepareComm(comm, pty.SlavePath());
    QElapsedTimer clock;
    clock.start();
    qint64 arrived = -1;
    QObject::connect(&comm, &SerialLink::chunkReceived, [&] { arrived = clock.nsecsElapsed(); });
    comm.StartPort();
    std::vector<double> delays;
    const std::string frame("\xFE\xF1\x00\x05\x42\x01\x04\x20\x03\x45\xB4\xFF", 12);
    for (int i = 0; i < bursts; ++i) {
        arrived = -1;
        const qint64 sent = clock.nsecsElapsed();
        pty.Write(frame);
        RunUntil([&] { return arrived >= 0; }, 2000);
        delays.push_back(static_cast<double>(arrived - sent) / 1e6);
        RunUntil([] { return false; }, 20); // let the line fall silent
    }
    comm.StopPort();
    std::sort(delays.begin(), delays.end());
    std::printf("receive event after the last byte (%d bursts of 12 bytes, floor 100 ms):\n", bursts);
    std::printf("  median %.1f ms, worst %.1f ms, best %.1f ms\n", delays[delays.size() / 2], delays.back(),
                delays.front());
}

void Throughput(std::size_t total)
{
    test::Pty pty;
    SerialLink comm;
    PrepareComm(comm, pty.SlavePath());
    std::size_t received = 0;
    std::size_t mismatches = 0;
    QObject::connect(&comm, &SerialLink::chunkReceived, [&](const QByteArray &chunk) {
        const auto *b = reinterpret_cast<const unsigned char *>(chunk.constData());
        const auto length = static_cast<std::size_t>(chunk.size());
        for (std::size_t i = 0; i < length; ++i)
            if (b[i] != static_cast<unsigned char>((received + i) % 251))
                ++mismatches;
        received += length;
    });
    comm.StartPort();
    std::string data(total, '\0');
    for (std::size_t i = 0; i < total; ++i)
        data[i] = static_cast<char>(i % 251);
    const double cpu0 = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    std::thread writer([&] { pty.Write(data); });
    RunUntil([&] { return received >= total; }, 120000);
    const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    writer.join();
    const double cpu = CpuSeconds() - cpu0;
    comm.StopPort();
    const double mb = static_cast<double>(total) / 1e6;
    std::printf("sustained throughput, device to handler (%.0f MB):\n", mb);
    std::printf("  %.1f MB/s, %zu bytes lost or wrong of %zu, %.3f CPU s per MB (test's writer included)\n",
                mb / seconds, (total - std::min(total, received)) + mismatches, total, cpu / mb);
}

void Idle(int ms)
{
    test::Pty pty;
    SerialLink comm;
    PrepareComm(comm, pty.SlavePath());
    comm.StartPort();
    RunUntil([] { return false; }, 100);
    const double cpu0 = CpuSeconds();
    QEventLoop loop; // sleeps until the single timer: only the port's own cost remains
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = CpuSeconds() - cpu0;
    comm.StopPort();
    std::printf("open idle port for %.0f s: %.3f CPU s (whole process)\n", ms / 1000.0, cpu);
}

} // namespace

int main(int argc, char **argv)
{
    constexpr const char *kUsage = "usage: comm_bench [--quick]\n"
                                   "  receive latency, throughput and idle cost of the serial link on a\n"
                                   "  pseudo-terminal; --quick: a short run\n";
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h")
            rovi::bench::Usage(kUsage);
        else if (a == "--quick")
            quick = true;
        else
            rovi::bench::Usage(kUsage, a);
    }
    QCoreApplication app(argc, argv);
    Latency(quick ? 20 : 200);
    Throughput(quick ? 4'000'000 : 64'000'000);
    Idle(quick ? 1000 : 10000);
    return 0;
}
