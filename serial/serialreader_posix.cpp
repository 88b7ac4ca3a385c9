#include "serialreader.h"

#include "readplan.h"

#include <linux/serial.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace rovi {

namespace {

using Clock = std::chrono::steady_clock;

int PollTimeoutMs(std::optional<Clock::time_point> deadline)
{
    if (!deadline)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

// The signal that interrupts the line-event waiter's TIOCMIWAIT at shutdown.
int WakeSignal()
{
    static const int sig = [] {
        const int s = SIGRTMIN + 5;
        struct sigaction sa {};
        sa.sa_handler = [](int) {};
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = 0; // no SA_RESTART: the ioctl must return EINTR
        sigaction(s, &sa, nullptr);
        return s;
    }();
    return sig;
}

} // namespace

// Waits for carrier-detect and ring changes with TIOCMIWAIT on its own thread.
// A device without modem lines (a pseudo-terminal) answers ENOTTY at once and
// the waiter ends without a notice.
struct SerialReader::LineWaiter {
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    std::thread thread;
};

SerialReader::SerialReader(std::shared_ptr<SerialDevice> device, std::shared_ptr<CloseEvent> close_event,
                         NoticeTarget notify)
    : SerialWorker(std::move(device), std::move(close_event), notify),
      line_errors_(ReadLineErrorCounts(device_->Handle()))
{
}

SerialReader::~SerialReader()
{
    Join();
}

void SerialReader::StartLineWaiter()
{
    const int fd = device_->Handle();
    serial_icounter_struct probe{};
    if (ioctl(fd, TIOCGICOUNT, &probe) != 0)
        return; // no modem-line counters on this device
    (void)WakeSignal();
    line_waiter_ = std::make_unique<LineWaiter>();
    LineWaiter *w = line_waiter_.get();
    w->thread = std::thread([w, fd, notify = notify_] {
        serial_icounter_struct before{};
        (void)ioctl(fd, TIOCGICOUNT, &before);
        while (!w->stop.load()) {
            if (ioctl(fd, TIOCMIWAIT, TIOCM_CD | TIOCM_RNG) != 0) {
                if (errno == EINTR)
                    continue;
                break; // unsupported, or the device is gone: the reader sees that itself
            }
            serial_icounter_struct after{};
            if (ioctl(fd, TIOCGICOUNT, &after) != 0)
                break;
            std::uint32_t bits = 0;
            if (after.dcd != before.dcd)
                bits |= ModemChange::CarrierDetect;
            if (after.rng != before.rng)
                bits |= ModemChange::Ring;
            before = after;
            if (bits != 0 && !w->stop.load())
                notify->PostModemChange(bits);
        }
        w->done.store(true);
    });
}

void SerialReader::StopLineWaiter()
{
    if (!line_waiter_)
        return;
    line_waiter_->stop.store(true);
    // A signal sent just before the waiter enters the ioctl is lost, so repeat it.
    while (!line_waiter_->done.load()) {
        pthread_kill(line_waiter_->thread.native_handle(), WakeSignal());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    line_waiter_->thread.join();
    line_waiter_.reset();
}

// Reports the line errors counted since the last look, before the chunk
// they came with. A device without counters never reports any.
void SerialReader::PostLineErrors()
{
    if (!line_errors_.Active())
        return;
    if (const auto now = ReadLineErrorCounts(device_->Handle()))
        if (const std::uint32_t flags = line_errors_.Update(*now))
            notify_->PostLineError(flags);
}

// Waits until `until` unless the port is closed meanwhile (true then).
bool SerialReader::RestUntil(std::chrono::steady_clock::time_point until)
{
    for (;;) {
        pollfd fd{close_event_->Handle(), POLLIN, 0};
        const int ready = ::poll(&fd, 1, PollTimeoutMs(until));
        if (ready < 0 && errno == EINTR)
            continue;
        return ready > 0;
    }
}

// One read request: gathers up to 4096 bytes until the time-outs complete it.
SerialReader::ReadEnd SerialReader::GatherRead(std::size_t &count)
{
    const ReadPlan plan = PlanRead(device_->Timeouts());
    const auto pause = GatherPause(plan);
    int reads = 0;
    bool rested = false; // after a rest the bytes are read without asking poll first
    const Clock::time_point start = Clock::now();
    Clock::time_point last_byte{};
    count = 0;
    for (;;) {
        std::optional<Clock::time_point> deadline;
        if (plan.total)
            deadline = start + *plan.total;
        if (plan.interval && count > 0) {
            const auto gap_end = last_byte + *plan.interval;
            deadline = deadline ? std::min(*deadline, gap_end) : gap_end;
        }
        short events = POLLIN;
        if (!rested) {
            pollfd fds[2] = {{close_event_->Handle(), POLLIN, 0}, {device_->Handle(), POLLIN, 0}};
            const int ready = ::poll(fds, 2, PollTimeoutMs(deadline));
            if (ready < 0) {
                if (errno == EINTR)
                    continue;
                return ReadEnd::hangup;
            }
            if (fds[0].revents != 0)
                return ReadEnd::closed;
            if (ready == 0)
                return ReadEnd::complete; // the interval or total time-out ran out
            events = fds[1].revents;
            if (events & POLLNVAL)
                return ReadEnd::gone;
        }
        rested = false;
        if (auto hook = BeforeReadHook.load())
            hook(device_->Handle());
        const ssize_t n = ::read(device_->Handle(), buffer_.data() + count, kReadBufferSize - count);
        if (n > 0) {
            count += static_cast<std::size_t>(n);
            last_byte = Clock::now();
            PostLineErrors();
            if (count == kReadBufferSize || plan.return_on_first_bytes)
                return ReadEnd::complete;
            // A second read in one chunk means the line is streaming: rest
            // between reads from now on (a lone card stays one wake-up).
            if (++reads > 1 && pause.count() > 0) {
                const Clock::time_point rest_end = std::min(last_byte + pause, deadline.value_or(last_byte + pause));
                if (auto hook = RestHook.load())
                    hook(rest_end - last_byte);
                if (RestUntil(rest_end))
                    return ReadEnd::closed;
                rested = true;
            }
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n < 0 && errno == EBADF)
            return ReadEnd::gone;
        // With VMIN and VTIME 0 an empty input queue reads as 0 bytes, for
        // instance when a purge emptied it after the poll, or after a rest
        // that nothing came in: only the poll's hang-up or error, or a
        // failing read (EIO), mean the line is gone.
        if (n == 0 && (events & (POLLHUP | POLLERR)) == 0)
            continue;
        return ReadEnd::hangup;
    }
}

void SerialReader::Body()
{
    StartLineWaiter();
    for (;;) {
        if (close_event_->IsSignalled())
            break;
        std::size_t count = 0;
        const ReadEnd end = GatherRead(count);
        if (end == ReadEnd::complete) {
            PostLineErrors();
            HandOver(buffer_.data(), count);
            continue;
        }
        if (end == ReadEnd::hangup) {
            PostLineErrors();
            HandOver(buffer_.data(), count); // bytes already received are not lost
            notify_->PostHangup();
        }
        break;
    }
    StopLineWaiter();
    device_->PurgeInput();
}

} // namespace rovi
