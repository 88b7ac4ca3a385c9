#pragma once

// Runs the Qt event loop while a test waits, so posted notices and timers
// are delivered as they are in the program.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

#include <functional>

namespace rovi::test {

namespace detail {

inline bool Wait(const std::function<bool()> &done, int timeout_ms, bool run_events)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeout_ms)
            return false;
        if (run_events)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
    return true;
}

} // namespace detail

inline bool WaitUntil(const std::function<bool()> &done, int timeout_ms = 5000)
{
    return detail::Wait(done, timeout_ms, true);
}

// Waits for a condition a worker thread brings about, without running the
// event loop: what the worker posts stays queued meanwhile.
inline bool WaitWithoutEvents(const std::function<bool()> &done, int timeout_ms = 5000)
{
    return detail::Wait(done, timeout_ms, false);
}

inline void Pump(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
}

} // namespace rovi::test
