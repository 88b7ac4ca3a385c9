#pragma once

// Watches for an unplugged port to come back: a cheap check of the device's
// path a few times a second (no busy loop), and on its return the reopen
// callback; while that fails (the device not ready yet, its permissions not
// set yet) the watch goes on.

#include "base/recentevents.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <string>

class QTimer;

namespace rovi {

// Hang-ups that follow each other quickly (a driver that refuses something
// at every open ends each open at once): after kFlaps of them within
// kFlapWindow, the watch waits kBackoff before it looks again, so the port
// does not flap open and closed three times a second.
class HangupBackoff {
public:
    using Clock = RecentEvents::Clock;
    static constexpr int kFlaps = 3;
    static constexpr std::chrono::milliseconds kFlapWindow{2000};
    static constexpr std::chrono::milliseconds kBackoff{5000};

    // The wait before watching for the port again after a hang-up at `now`.
    std::chrono::milliseconds DelayAfterHangup(Clock::time_point now);

private:
    RecentEvents hangups_{kFlaps, kFlapWindow};
};

class Reconnector : public QObject {
public:
    static constexpr int kPollMs = 300;

    // reopen: true once the port is open again.
    Reconnector(QObject *parent, std::function<bool()> reopen);

    // After a hang-up: watches for the port to come back, after a pause
    // when hang-ups come too fast (BackingOff() then says so).
    void Watch(const std::string &port_name);
    void Stop();
    bool Watching() const;
    bool BackingOff() const;

private:
    void Poll();

    QTimer *timer_;
    QTimer *backoff_timer_;
    HangupBackoff backoff_;
    std::string name_;
    std::function<bool()> reopen_;
};

} // namespace rovi
