// The reader search's speed: N ports searched at all eight rates (silent
// lines, so every rate is waited out), and the time until a reader at the
// first rate tried is found among them. Pseudo-terminals; prints figures.
//   search_bench [--ports N]   (default 8)
#include "benchargs.h"

#include "serial/readersearch.h"
#include "tests/support/pty.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace rovi;

namespace {

struct Run {
    double all_seconds = 0;
    double first_found_ms = -1;
};

Run Search(const std::vector<std::string> &ports)
{
    ReaderSearch search;
    QEventLoop loop;
    QElapsedTimer clock;
    Run run;
    QObject::connect(&search, &ReaderSearch::found, [&](const QString &, int, const Frame &) {
        if (run.first_found_ms < 0)
            run.first_found_ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    });
    QObject::connect(&search, &ReaderSearch::finished, &loop, &QEventLoop::quit);
    const std::vector<int> all(std::begin(kBaudRateValues), std::end(kBaudRateValues));
    clock.start();
    search.Start(ports, SearchRateOrder(all, std::nullopt));
    if (search.Running())
        loop.exec();
    run.all_seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    constexpr const char *kUsage = "usage: search_bench [--ports N]\n"
                                   "  N silent ports searched at all eight rates, then a reader at the first\n"
                                   "  rate tried (9600) among N-1 silent ports; reader-sim beside this bench\n";
    long ports = 8;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h")
            rovi::bench::Usage(kUsage);
        else if (a == "--ports" && i + 1 < argc && rovi::bench::PositiveNumber(argv[i + 1], ports))
            ++i;
        else
            rovi::bench::Usage(kUsage, a);
    }
    QCoreApplication app(argc, argv);

    std::vector<std::unique_ptr<test::Pty>> silent;
    std::vector<std::string> paths;
    for (long i = 0; i < ports; ++i) {
        silent.push_back(std::make_unique<test::Pty>());
        paths.push_back(silent.back()->SlavePath());
    }
    const Run none = Search(paths);
    std::printf("%ld silent ports x 8 rates: %.2f s\n", ports, none.all_seconds);

    // One port is a reader at 9600, the rate tried first.
    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + "/../tools/reader-sim", {"--baud", "9600"});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "reader-sim did not start\n");
        return 1;
    }
    paths[0] = QString::fromUtf8(sim.readLine()).trimmed().toStdString();
    const Run one = Search(paths);
    std::printf("a reader at 9600 among %ld ports: found after %.0f ms; the search done in %.2f s\n", ports,
                one.first_found_ms, one.all_seconds);
    sim.terminate();
    sim.waitForFinished(3000);
    return 0;
}
