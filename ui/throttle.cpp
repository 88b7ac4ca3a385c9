#include "throttle.h"

#include <QTimer>

namespace rovi {

Throttle::Throttle(QObject *parent, int period_ms, std::function<void()> action)
    : QObject(parent), timer_(new QTimer(this)), action_(std::move(action))
{
    timer_->setSingleShot(true);
    timer_->setInterval(period_ms);
    connect(timer_, &QTimer::timeout, this, [this] { PeriodEnded(); });
}

bool Throttle::Holding() const
{
    return timer_->isActive();
}

void Throttle::Request()
{
    if (timer_->isActive()) {
        pending_ = true;
        return;
    }
    action_();
    timer_->start();
}

void Throttle::PeriodEnded()
{
    if (!pending_)
        return;
    pending_ = false;
    action_();
    timer_->start();
}

} // namespace rovi
