// reader-sim: plays the card reader on a pseudo-terminal. See tools/README.md.
#include "protocol/hexstr.h"
#include "pseudoterminal.h"
#include "readermodel.h"

#include "serial/termiosline.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>

using namespace rovi;
using namespace rovi::sim;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kReplyDelayMs = 5;
constexpr int kSplitGapMs = 300;
constexpr int kLateDefaultMs = 1500;

const char kUsage[] = R"(usage: reader-sim [options]

Plays the 2.4 GHz card reader on a new pseudo-terminal. The first line on
stdout is the terminal's device path; open it in the tool (or any serial
terminal) as the port. Frames received and replies sent are logged in spaced
hex with a time stamp on stderr.

options:
  --link PATH          also make PATH a symlink to the terminal (replaced if it is one)
  --cards MS           emit a card number every MS milliseconds from the start
  --card-start N       first card number (default 12345678), counting up
  --tags N             N cards in front of the reader instead, read in turn:
                       card-start … card-start+N-1 (leave and return below)
  --baud B             the reader's baud rate (default 9600; 1200 … 115200):
                       it answers only a line set to B (the terminal's
                       settings tell); at any other rate its replies come
                       garbled, as on a real mismatched line. A set of the
                       baud field changes it after the acknowledgement.
  --wire MS            keep a real line's timing: answer after the frame's
                       time on the wire at the reader's rate plus MS ms, and
                       send byte after byte at that rate (a pseudo-terminal
                       otherwise takes a whole frame at once)
  --exit-on-eof        exit when stdin closes
  --control PATH       also take commands from PATH, a FIFO made there (and
                       removed on exit), for a simulator started in the background:
                         echo hangup > PATH
  --help               this text

commands on stdin (or the --control FIFO), one per line; each is acknowledged
with a line "ok COMMAND" on stdout once it has taken effect (each fault
applies to the next reply only):
  drop          send no reply to the next frame (the tool shows its time-out)
  badsum        corrupt the checksum of the next report
  split         send the next reply in two bursts 300 ms apart
  late [MS]     answer the next frame MS ms late (default 1500)
  refuse        refuse the next set (acknowledgement FE F1 02 FF), changing nothing
  ignore        acknowledge the next set as accepted but change nothing
  cards MS|off  start or stop card numbers
  leave CARD    with --tags: card number CARD is no longer read (walked away)
  return CARD   with --tags: card number CARD is read again in its turn
  hangup        close the terminal as an unplugged adapter would, and exit
  quit          exit

The reader model: factory set ID 1, 韦根26, 标准格式, 9600, 软件控制 level 1,
re-read 3 s, send time 0.5 s. A query (all field bytes 0) gets a 12-byte
report; ctrl 0x80 restores the factory set; any other frame sets every
non-zero field byte. Acknowledgements are FE F1 rr FF with rr 00 accepted,
01 bad checksum, 02 a value outside what the tool produces (nothing changed).
)";

void Log(const char *direction, const ByteString &bytes)
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    std::fprintf(stderr, "%02d:%02d:%02d.%03ld %s %s\n", local.tm_hour, local.tm_min, local.tm_sec,
                 ts.tv_nsec / 1000000, direction, HexLine(bytes).c_str());
}

struct Outgoing {
    Clock::time_point due;
    ByteString bytes;
};

struct Options {
    std::string link;
    int card_interval_ms = 0;
    std::uint32_t card = 12345678;
    int tags = 0; // cards read in turn; 0: one card, counting up
    std::optional<int> wire_delay_ms; // --wire: a real line's timing, this reader delay
    bool exit_on_eof = false;
    std::string control;
    int baud = 9600;
};

std::optional<Options> ParseOptions(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
        if (a == "--help") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (a == "--link") {
            const char *v = value();
            if (!v)
                return std::nullopt;
            o.link = v;
        } else if (a == "--cards") {
            const char *v = value();
            if (!v || std::atoi(v) <= 0)
                return std::nullopt;
            o.card_interval_ms = std::atoi(v);
        } else if (a == "--card-start") {
            const char *v = value();
            if (!v)
                return std::nullopt;
            o.card = static_cast<std::uint32_t>(std::strtoul(v, nullptr, 10));
        } else if (a == "--tags") {
            const char *v = value();
            if (!v || std::atoi(v) <= 0)
                return std::nullopt;
            o.tags = std::atoi(v);
        } else if (a == "--baud") {
            const char *v = value();
            const int rate = v ? std::atoi(v) : 0;
            if (std::find(std::begin(kBaudRateValues), std::end(kBaudRateValues), rate) == std::end(kBaudRateValues))
                return std::nullopt;
            o.baud = rate;
        } else if (a == "--wire") {
            const char *v = value();
            if (!v || std::atoi(v) < 0 || (std::atoi(v) == 0 && std::string(v) != "0"))
                return std::nullopt;
            o.wire_delay_ms = std::atoi(v);
        } else if (a == "--exit-on-eof") {
            o.exit_on_eof = true;
        } else if (a == "--control") {
            const char *v = value();
            if (!v)
                return std::nullopt;
            o.control = v;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

class Simulator {
public:
    explicit Simulator(Options options) : options_(std::move(options))
    {
        for (int i = 0; i < kBaudRates; ++i)
            if (kBaudRateValues[i] == options_.baud)
                model_.Set(Field::baud, EncodeBaud(i));
    }

    bool Open()
    {
        try {
            pty_ = std::make_unique<PseudoTerminal>(true);
        } catch (const std::exception &) {
            return false;
        }
        master_ = pty_->Master();
        const std::string &path_ = pty_->SlavePath();
        if (!options_.link.empty()) {
            unlink(options_.link.c_str());
            if (symlink(path_.c_str(), options_.link.c_str()) != 0) {
                std::perror("reader-sim: --link");
                return false;
            }
        }
        if (!options_.control.empty()) {
            // Opened for reading and writing, so it never reads end-of-file
            // between two writers.
            struct stat st {};
            if (lstat(options_.control.c_str(), &st) == 0 && !S_ISFIFO(st.st_mode)) {
                std::fprintf(stderr, "reader-sim: --control %s exists and is no FIFO\n", options_.control.c_str());
                return false;
            }
            if (mkfifo(options_.control.c_str(), 0600) != 0 && errno != EEXIST) {
                std::perror("reader-sim: --control");
                return false;
            }
            control_ = open(options_.control.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
            if (control_ < 0) {
                std::perror("reader-sim: --control");
                return false;
            }
        }
        std::printf("%s\n", path_.c_str());
        std::fflush(stdout);
        if (options_.card_interval_ms > 0)
            next_card_ = Clock::now() + std::chrono::milliseconds(options_.card_interval_ms);
        return true;
    }

    int Run()
    {
        sigset_t mask;
        sigemptyset(&mask);
        sigaddset(&mask, SIGINT);
        sigaddset(&mask, SIGTERM);
        sigprocmask(SIG_BLOCK, &mask, nullptr);
        const int sfd = signalfd(-1, &mask, SFD_CLOEXEC);
        bool stdin_open = true;
        std::string from_stdin, from_control;
        while (!quit_) {
            pollfd fds[4] = {{master_, POLLIN, 0},
                             {sfd, POLLIN, 0},
                             {stdin_open ? 0 : -1, POLLIN, 0},
                             {control_, POLLIN, 0}};
            if (poll(fds, 4, TimeoutMs()) < 0 && errno != EINTR)
                break;
            if (fds[1].revents & POLLIN)
                break;
            if (fds[0].revents & POLLIN)
                ReadFrames();
            if (fds[2].revents & (POLLIN | POLLHUP)) {
                if (!TakeCommands(0, from_stdin)) {
                    stdin_open = false;
                    if (options_.exit_on_eof)
                        break;
                }
            }
            if (fds[3].revents & POLLIN)
                TakeCommands(control_, from_control);
            SendDue();
        }
        Close();
        return 0;
    }

private:
    // Whether the program's side of the terminal runs at the reader's rate.
    bool LineMatches() const
    {
        const auto rate = ReadLineBaudRate(master_);
        return !rate || static_cast<int>(*rate) == model_.LineRate();
    }

    // Reads what a command source has and runs each whole line; false at
    // its end.
    bool TakeCommands(int fd, std::string &pending)
    {
        char buf[256];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            return false;
        if (n > 0)
            pending.append(buf, static_cast<std::size_t>(n));
        for (std::size_t nl; !quit_ && (nl = pending.find('\n')) != std::string::npos;) {
            Command(pending.substr(0, nl));
            pending.erase(0, nl + 1);
        }
        return true;
    }

    int TimeoutMs() const
    {
        std::optional<Clock::time_point> next = next_card_;
        if (!outgoing_.empty() && (!next || outgoing_.front().due < *next))
            next = outgoing_.front().due;
        if (!next)
            return -1;
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now()).count();
        return ms < 0 ? 0 : static_cast<int>(ms);
    }

    void ReadFrames()
    {
        char buf[4096];
        const ssize_t n = read(master_, buf, sizeof buf);
        if (n <= 0)
            return;
        const ByteString bytes(buf, static_cast<std::size_t>(n));
        Log("rx", bytes);
        // At another rate the reader understands nothing (its settings stay
        // as they are) and what it sends arrives garbled.
        const bool garbled = !LineMatches();
        ReaderModel heard = model_;
        // With --wire, the frame is only whole once its last byte has
        // crossed the line: its time on the wire, then the reader's delay.
        const auto delay = options_.wire_delay_ms
                               ? WireTime(bytes.size()) + std::chrono::milliseconds(*options_.wire_delay_ms)
                               : std::chrono::microseconds(std::chrono::milliseconds(kReplyDelayMs));
        for (Reply r : garbled ? heard.Feed(bytes) : model_.Feed(bytes)) {
            if (garbled)
                r.bytes = Garbled(r.bytes);
            const auto due = Clock::now() + delay + std::chrono::milliseconds(r.extra_delay_ms);
            if (r.split) {
                const std::size_t half = r.bytes.size() / 2;
                Queue(due, r.bytes.substr(0, half));
                Queue(due + std::chrono::milliseconds(kSplitGapMs), r.bytes.substr(half));
            } else {
                Queue(due, r.bytes);
            }
        }
    }

    // 10 bits a byte (start, 8 data, stop) at the reader's rate.
    std::chrono::microseconds WireTime(std::size_t bytes) const
    {
        return std::chrono::microseconds(static_cast<long long>(bytes) * 10 * 1000000 / model_.LineRate());
    }

    // With --wire each byte leaves when the one before it has crossed the line.
    void Queue(Clock::time_point due, ByteString bytes)
    {
        if (options_.wire_delay_ms && bytes.size() > 1) {
            for (std::size_t i = 0; i < bytes.size(); ++i)
                QueueOne(due + WireTime(i), bytes.substr(i, 1));
            return;
        }
        QueueOne(due, std::move(bytes));
    }

    void QueueOne(Clock::time_point due, ByteString bytes)
    {
        auto it = outgoing_.begin();
        while (it != outgoing_.end() && it->due <= due)
            ++it;
        outgoing_.insert(it, Outgoing{due, std::move(bytes)});
    }

    void SendDue()
    {
        const auto now = Clock::now();
        while (!outgoing_.empty() && outgoing_.front().due <= now) {
            Send(outgoing_.front().bytes);
            outgoing_.pop_front();
        }
        if (next_card_ && *next_card_ <= now) {
            const auto number = NextCard();
            const ByteString card = number ? model_.CardOutput(*number) : ByteString();
            if (!card.empty())
                Send(LineMatches() ? card : Garbled(card));
            next_card_ = now + std::chrono::milliseconds(options_.card_interval_ms);
        }
    }

    // The card read next: counting up, or with --tags the next one in turn
    // that has not left (nothing when all have).
    std::optional<std::uint32_t> NextCard()
    {
        if (options_.tags <= 0)
            return options_.card++;
        for (int i = 0; i < options_.tags; ++i) {
            const std::uint32_t card = options_.card + static_cast<std::uint32_t>(turn_++ % options_.tags);
            if (!gone_.contains(card))
                return card;
        }
        return std::nullopt;
    }

    // One write, so the reply leaves as one burst.
    void Send(const ByteString &bytes)
    {
        Log("tx", bytes);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EAGAIN) {
                pollfd p{master_, POLLOUT, 0};
                poll(&p, 1, 100);
            } else {
                return;
            }
        }
    }

    void Command(std::string line)
    {
        // A command line ended by CR LF (written from Windows) counts as ended by LF.
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        const std::string word = line.substr(0, line.find(' '));
        const std::string arg = line.find(' ') == std::string::npos ? "" : line.substr(line.find(' ') + 1);
        if (word == "drop") {
            model_.DropNextReply();
        } else if (word == "badsum") {
            model_.CorruptNextChecksum();
        } else if (word == "refuse") {
            model_.RefuseNextSet();
        } else if (word == "ignore") {
            model_.IgnoreNextSet();
        } else if (word == "split") {
            model_.SplitNextReply();
        } else if (word == "late") {
            model_.DelayNextReply(arg.empty() ? kLateDefaultMs : std::atoi(arg.c_str()));
        } else if (word == "cards") {
            options_.card_interval_ms = arg == "off" ? 0 : std::atoi(arg.c_str());
            next_card_.reset();
            if (options_.card_interval_ms > 0)
                next_card_ = Clock::now() + std::chrono::milliseconds(options_.card_interval_ms);
        } else if (word == "leave" || word == "return") {
            char *end = nullptr;
            const unsigned long card = std::strtoul(arg.c_str(), &end, 10);
            if (arg.empty() || *end != '\0') {
                std::fprintf(stderr, "reader-sim: %s needs a card number\n", word.c_str());
                return;
            }
            if (word == "leave")
                gone_.insert(static_cast<std::uint32_t>(card));
            else
                gone_.erase(static_cast<std::uint32_t>(card));
        } else if (word == "hangup" || word == "quit") {
            quit_ = true;
        } else {
            if (!word.empty())
                std::fprintf(stderr, "reader-sim: unknown command '%s'\n", word.c_str());
            return;
        }
        // Taken effect: whoever waits for it may go on.
        std::printf("ok %s\n", line.c_str());
        std::fflush(stdout);
    }

    void Close()
    {
        pty_.reset(); // master and slave closed: an unplugged adapter
        master_ = -1;
        if (!options_.link.empty())
            unlink(options_.link.c_str());
        if (control_ >= 0) {
            close(control_);
            unlink(options_.control.c_str());
        }
    }

    Options options_;
    ReaderModel model_;
    std::unique_ptr<PseudoTerminal> pty_;
    int master_ = -1;
    int control_ = -1;
    std::deque<Outgoing> outgoing_;
    std::optional<Clock::time_point> next_card_;
    std::uint64_t turn_ = 0;         // --tags: how many turns were taken
    std::set<std::uint32_t> gone_;   // --tags: cards that left
    bool quit_ = false;
};

} // namespace

int main(int argc, char **argv)
{
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    Simulator sim(*options);
    if (!sim.Open()) {
        std::fprintf(stderr, "reader-sim: cannot create a pseudo-terminal\n");
        return 1;
    }
    return sim.Run();
}
