// The window thread under a stream of card numbers: chunks received, logged
// and counted per second, event-loop latency meanwhile, memory and speed at
// ten points of the run (flat once the logs hold their bound), and the cost
// of the record file per chunk. Offscreen widgets; prints figures.
//   console_bench [chunks] [--logfile]
#include "app/mainwindow.h"
#include "panel/logview.h"
#include "app/readerconsole.h"
#include "protocol/trafficfile.h"
#include "panel/trafficmonitor.h"

#include "benchargs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <stdlib.h>
#include <unistd.h>

using namespace rovi;

namespace {

long RssKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A chunk posted from another thread, as the serial link's reader posts them.
class ChunkEvent : public QEvent {
public:
    static QEvent::Type Type() { return static_cast<QEvent::Type>(QEvent::User + 500); }
    explicit ChunkEvent(std::string bytes) : QEvent(Type()), bytes(std::move(bytes)) {}
    std::string bytes;
};

class Sink : public QObject {
public:
    Sink(ReaderConsole &console, std::atomic<int> &in_flight) : console_(console), in_flight_(in_flight) {}
    bool event(QEvent *e) override
    {
        if (e->type() != ChunkEvent::Type())
            return QObject::event(e);
        const auto &bytes = static_cast<ChunkEvent *>(e)->bytes;
        console_.HandleChunk(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
        in_flight_.fetch_sub(1, std::memory_order_release);
        ++handled;
        if (checkpoint_every > 0 && handled % checkpoint_every == 0)
            checkpoints.push_back({handled, clock.nsecsElapsed(), RssKiB()});
        return true;
    }
    struct Checkpoint {
        long handled;
        qint64 nanos;
        long rss_kib;
    };
    long handled = 0;
    long checkpoint_every = 0;
    QElapsedTimer clock;
    std::vector<Checkpoint> checkpoints;

private:
    ReaderConsole &console_;
    std::atomic<int> &in_flight_;
};

} // namespace

int main(int argc, char **argv)
{
    constexpr const char *kUsage = "usage: console_bench [CHUNKS] [--logfile]\n"
                                   "  CHUNKS card numbers (default 100000) through the window, offscreen;\n"
                                   "  --logfile: with the record file on\n";
    long total = 100000;
    bool log_file = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h")
            rovi::bench::Usage(kUsage);
        else if (a == "--logfile")
            log_file = true;
        else if (!rovi::bench::PositiveNumber(a, total))
            rovi::bench::Usage(kUsage, a);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    MainWindow window;
    window.show();
    std::string folder = (std::filesystem::temp_directory_path() / "console-bench-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        return 1;
    if (log_file)
        window.Console().SetLogFolder(folder);
    std::atomic<int> in_flight{0};
    Sink sink(window.Console(), in_flight);
    sink.checkpoint_every = std::max(1L, total / 10);
    sink.clock.start();
    QCoreApplication::processEvents();
    const long rss_before = RssKiB();

    // A 10 ms heartbeat measures how late the loop gets to its timers.
    std::vector<double> lateness;
    QElapsedTimer beat_clock;
    beat_clock.start();
    qint64 expected = 10;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = beat_clock.elapsed();
        lateness.push_back(static_cast<double>(std::max<qint64>(0, now - expected)));
        expected = now + 10;
    });
    heartbeat.start(10);

    std::thread producer([&] {
        char line[32];
        for (long i = 0; i < total; ++i) {
            while (in_flight.load(std::memory_order_acquire) >= 32)
                std::this_thread::yield();
            std::snprintf(line, sizeof line, "%08ld\r\n", 10000000 + i);
            in_flight.fetch_add(1, std::memory_order_relaxed);
            QCoreApplication::postEvent(&sink, new ChunkEvent(line));
        }
    });
    QElapsedTimer wall;
    wall.start();
    while (sink.handled < total)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    producer.join();
    heartbeat.stop();
    const long rss_after = RssKiB();

    std::sort(lateness.begin(), lateness.end());
    const auto pct = [&](double q) { return lateness.empty() ? 0.0 : lateness[static_cast<std::size_t>(q * (lateness.size() - 1))]; };
    std::printf("card-number chunks (10 bytes each) through HandleChunk: %ld in %.2f s = %.0f chunks/s\n",
                total, seconds, static_cast<double>(total) / seconds);
    std::printf("event-loop lateness of a 10 ms timer meanwhile: median %.1f ms, p99 %.1f ms, worst %.1f ms\n",
                pct(0.5), pct(0.99), pct(1.0));
    std::printf("memory: %ld KiB more after %ld chunks (2 log lines each) = %.0f bytes per chunk\n",
                rss_after - rss_before, total,
                1024.0 * static_cast<double>(rss_after - rss_before) / static_cast<double>(total));
    std::printf("counter shows %s, hex log holds %d lines (bound %d)\n",
                window.findChild<QLineEdit *>("receiveCounter")->text().toUtf8().constData(), window.findChild<panel::LogView *>("hexLog")->LineCount(),
                window.Monitor().LineLimit());
    std::printf("record file: %s\n", log_file ? "on" : "off");
    std::printf("%12s %12s %14s\n", "chunks", "RSS MiB", "chunks/s since");
    long last_handled = 0;
    qint64 last_nanos = 0;
    for (const auto &c : sink.checkpoints) {
        std::printf("%12ld %12.1f %14.0f\n", c.handled, static_cast<double>(c.rss_kib) / 1024.0,
                    static_cast<double>(c.handled - last_handled) * 1e9 / static_cast<double>(c.nanos - last_nanos));
        last_handled = c.handled;
        last_nanos = c.nanos;
    }
    window.Console().SetLogFolder({});

    // The record file alone: what appending a chunk costs the window thread,
    // flushes included (the file is written in 64 KB pieces and each second).
    {
        TrafficFile file(folder);
        const auto when = TrafficFile::Clock::now();
        constexpr long kAppends = 1000000;
        QElapsedTimer timer;
        timer.start();
        for (long i = 0; i < kAppends; ++i)
            file.Append(ChunkLine(when, TrafficDirection::Received, "12345678\r\n"));
        file.Flush();
        std::printf("record file: %.2f us per 10-byte chunk appended (%ld chunks)\n",
                    static_cast<double>(timer.nsecsElapsed()) / 1e3 / kAppends, kAppends);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
