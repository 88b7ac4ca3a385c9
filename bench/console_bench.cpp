// The window thread under a stream of card numbers: chunks received, logged
// and counted per second, event-loop latency meanwhile, and memory per
// logged line after 100,000 chunks. Offscreen widgets; prints figures.
#include "app/utool.h"
#include "panel/logview.h"
#include "panel/readerconsole.h"
#include "panel/trafficmonitor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

using namespace rovi;

namespace {

// A chunk posted from another thread, as the serial link's reader posts them.
class ChunkEvent : public QEvent {
public:
    static QEvent::Type Type() { return static_cast<QEvent::Type>(QEvent::User + 500); }
    explicit ChunkEvent(std::string bytes) : QEvent(Type()), bytes(std::move(bytes)) {}
    std::string bytes;
};

class Sink : public QObject {
public:
    Sink(panel::ReaderConsole &console, std::atomic<int> &in_flight) : console_(console), in_flight_(in_flight) {}
    bool event(QEvent *e) override
    {
        if (e->type() != ChunkEvent::Type())
            return QObject::event(e);
        const auto &bytes = static_cast<ChunkEvent *>(e)->bytes;
        console_.CommReceiveData(nullptr, bytes.data(), static_cast<std::uint16_t>(bytes.size()));
        in_flight_.fetch_sub(1, std::memory_order_release);
        ++handled;
        return true;
    }
    long handled = 0;

private:
    panel::ReaderConsole &console_;
    std::atomic<int> &in_flight_;
};

long RssKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long total = argc > 1 ? std::atol(argv[1]) : 100000;

    TFtool window;
    window.show();
    std::atomic<int> in_flight{0};
    Sink sink(window.Console(), in_flight);
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
    std::printf("card-number chunks (10 bytes each) through CommReceiveData: %ld in %.2f s = %.0f chunks/s\n",
                total, seconds, static_cast<double>(total) / seconds);
    std::printf("event-loop lateness of a 10 ms timer meanwhile: median %.1f ms, p99 %.1f ms, worst %.1f ms\n",
                pct(0.5), pct(0.99), pct(1.0));
    std::printf("memory: %ld KiB more after %ld chunks (2 log lines each) = %.0f bytes per chunk\n",
                rss_after - rss_before, total,
                1024.0 * static_cast<double>(rss_after - rss_before) / static_cast<double>(total));
    std::printf("counter shows %s, hex log holds %d lines\n",
                window.Monitor().Edit3->text().toUtf8().constData(), window.Monitor().Memo1->LineCount());
    return 0;
}
