#include "reconnector.h"

#include "serial/portinfo.h"

#include <QTimer>

namespace rovi {

std::chrono::milliseconds HangupBackoff::DelayAfterHangup(Clock::time_point now)
{
    if (!hangups_.Add(now))
        return std::chrono::milliseconds(0);
    hangups_.Clear(); // the next ones count anew after the pause
    return kBackoff;
}

Reconnector::Reconnector(QObject *parent, std::function<bool()> reopen)
    : QObject(parent), timer_(new QTimer(this)), backoff_timer_(new QTimer(this)), reopen_(std::move(reopen))
{
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, [this] { Poll(); });
    backoff_timer_->setSingleShot(true);
    connect(backoff_timer_, &QTimer::timeout, timer_, qOverload<>(&QTimer::start));
}

void Reconnector::Watch(const std::string &port_name)
{
    name_ = port_name;
    const auto delay = backoff_.DelayAfterHangup(HangupBackoff::Clock::now());
    if (delay.count() > 0) {
        timer_->stop();
        backoff_timer_->start(static_cast<int>(delay.count()));
    } else {
        timer_->start();
    }
}

void Reconnector::Stop()
{
    backoff_timer_->stop();
    timer_->stop();
}

bool Reconnector::Watching() const
{
    return timer_->isActive() || backoff_timer_->isActive();
}

bool Reconnector::BackingOff() const
{
    return backoff_timer_->isActive();
}

void Reconnector::Poll()
{
    if (PortPresent(name_) && reopen_())
        Stop();
}

} // namespace rovi
