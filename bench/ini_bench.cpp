// Loading and saving a huge set.ini: time and peak memory of one load (and
// one save) of a 100 MB file of blank lines and of a 100 MB random file,
// each with the settings at its end. Prints figures; asserts nothing.
//
//   build/release/bench/ini_bench [megabytes]   (default 100)

#include "settings/portsettings.h"

#include "benchargs.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

using namespace rovi::settings;

namespace {

// The peak resident size since the last ResetPeak (VmHWM).
long PeakKb()
{
    long kb = 0;
    if (FILE *f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1)
                break;
        std::fclose(f);
    }
    return kb;
}

void ResetPeak()
{
    if (FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

long CurrentKb()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Writes the file in 1 MB blocks so that making it costs no memory.
void MakeFile(const std::string &path, std::size_t megabytes, bool random)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::mt19937 rng(1);
    std::string block(1 << 20, '\n');
    for (std::size_t i = 0; i < megabytes; ++i) {
        if (random)
            for (char &c : block)
                c = static_cast<char>(rng());
        std::fwrite(block.data(), 1, block.size(), f);
    }
    std::fputs("\r\n[comset]\r\n\xB4\xAE\xBF\xDA=COM7\r\nauto=1\r\n", f);
    std::fclose(f);
}

template <class F> double Seconds(F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    constexpr const char *kUsage = "usage: ini_bench [MEGABYTES]\n"
                                   "  reads and saves set.ini files of MEGABYTES (default 100), plain and random\n";
    long megabytes = 100;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h")
            rovi::bench::Usage(kUsage);
        else if (i > 1 || !rovi::bench::PositiveNumber(a, megabytes))
            rovi::bench::Usage(kUsage, a);
    }
    char pattern[] = "/tmp/rovi-ini-bench-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string path = dir + "/set.ini";
    std::printf("file                      load s   load peak MB   save s   save peak MB   settings found\n");
    for (const bool random : {false, true}) {
        MakeFile(path, static_cast<std::size_t>(megabytes), random);
        ResetPeak();
        const long before = CurrentKb();
        PortSettings s;
        const double load = Seconds([&] { s = LoadPortSettings(path); });
        const long load_peak = PeakKb() - before;
        ResetPeak();
        const double save = Seconds([&] { SavePortSettings(path, s, true); });
        const long save_peak = PeakKb() - before;
        std::printf("%3ld MB %-18s %6.2f   %12.1f   %6.2f   %12.1f   %s\n", megabytes,
                    random ? "random bytes" : "blank lines", load, load_peak / 1024.0, save, save_peak / 1024.0,
                    s.port == "COM7" && s.autoConnect == 1 ? "yes" : "no");
    }
    std::filesystem::remove_all(dir);
    return 0;
}
