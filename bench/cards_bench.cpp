// The card test under load: the tally alone (time per read), the page with
// its sorted table shown (offscreen) at 100 reads a second among 10,000
// cards in real time (share of a core, memory), the page fed as fast as the
// window thread takes reads, and a flat-out line whose chunks are 4 KiB of
// never-repeating bytes (memory stays bounded, the rest counted). Prints figures.
//   cards_bench [--seconds S]
#include "panel/cardtestpage.h"

#include "benchargs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

using namespace rovi;
using namespace std::chrono_literals;

namespace {

const char kUsage[] = "usage: cards_bench [--seconds S]   (the real-time run, default 20)\n";

long RssKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Card i of n as the reader's hex format sends it, less its CR LF.
std::string Card(long i)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08lX", 0x00BC0000L + i);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    long seconds = 20;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help")
            bench::Usage(kUsage);
        if (a != "--seconds" || i + 1 >= argc || !bench::PositiveNumber(argv[++i], seconds))
            bench::Usage(kUsage, a);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr long kCards = 10000;

    {
        CardTally tally(CardTally::Clock::now());
        auto when = CardTally::Clock::now();
        const long reads = 2000000;
        std::vector<std::string> cards;
        for (long i = 0; i < kCards; ++i)
            cards.push_back(Card(i));
        QElapsedTimer timer;
        timer.start();
        for (long i = 0; i < reads; ++i) {
            when += 10ms;
            tally.Add(cards[static_cast<std::size_t>((i * 7919) % kCards)], when);
        }
        std::printf("tally alone, %ld cards: %.0f ns a read (%ld reads, 100 a second of its clock)\n", kCards,
                    static_cast<double>(timer.nsecsElapsed()) / static_cast<double>(reads), reads);
    }

    const long rss_start = RssKiB();
    panel::CardTestPage page(nullptr);
    page.resize(792, 340);
    page.show();
    // The 10,000 cards read once.
    for (long i = 0; i < kCards; ++i)
        page.AddRead(Card(i), CardTally::Clock::now());
    QCoreApplication::processEvents();
    const long rss_filled = RssKiB();
    std::printf("page with %ld cards: %ld KiB more than without\n", kCards, rss_filled - rss_start);

    // Real time: a read every 10 ms among the 10,000, from a timer, the
    // event loop idle between them as in the program.
    {
        const double cpu_before = CpuSeconds();
        long reads = 0;
        QTimer reader;
        reader.setTimerType(Qt::PreciseTimer);
        reader.setInterval(10);
        QObject::connect(&reader, &QTimer::timeout, [&] {
            page.AddRead(Card((reads * 7919) % kCards), CardTally::Clock::now());
            ++reads;
        });
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
        reader.start();
        loop.exec();
        const double cpu = CpuSeconds() - cpu_before;
        std::printf("100 reads a second for %ld s among %ld cards: %.1f %% of a core, %.0f us of CPU a read "
                    "(%ld reads), RSS %ld KiB\n",
                    seconds, kCards, cpu * 100.0 / static_cast<double>(seconds), cpu * 1e6 / static_cast<double>(reads),
                    reads, RssKiB());
    }

    // As fast as the window thread takes them, the event loop run every 100 reads.
    {
        QElapsedTimer timer;
        timer.start();
        const double cpu_before = CpuSeconds();
        long reads = 0;
        for (; timer.elapsed() < 5000; ++reads) {
            page.AddRead(Card((reads * 7919) % kCards), CardTally::Clock::now());
            if (reads % 100 == 0)
                QCoreApplication::processEvents();
        }
        std::printf("flat out, %ld cards: %.0f reads a second, %.1f us of CPU a read, RSS %ld KiB\n", kCards,
                    static_cast<double>(reads) * 1000.0 / static_cast<double>(timer.elapsed()),
                    (CpuSeconds() - cpu_before) * 1e6 / static_cast<double>(reads), RssKiB());
    }

    // A flat-out line of noise: every chunk 4 KiB and new.
    {
        page.Model().Clear();
        QCoreApplication::processEvents();
        const long rss_before = RssKiB();
        std::string chunk(4096, 'x');
        QElapsedTimer timer;
        timer.start();
        const long chunks = 100000;
        for (long i = 0; i < chunks; ++i) {
            std::snprintf(chunk.data(), 16, "%015ld", i);
            page.AddRead(chunk, CardTally::Clock::now());
            if (i % 100 == 0)
                QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        const CardTally &tally = page.Model().Tally();
        std::printf("4 KiB chunks of noise, %ld of them: %zu listed, %llu counted as not listed, %.1f us a chunk, "
                    "RSS %+ld KiB\n",
                    chunks, tally.Size(), static_cast<unsigned long long>(tally.UnlistedReads()),
                    static_cast<double>(timer.nsecsElapsed()) / 1e3 / static_cast<double>(chunks),
                    RssKiB() - rss_before);
    }
    return 0;
}
