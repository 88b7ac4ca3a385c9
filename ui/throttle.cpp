#include "throttle.h"

#include <QTimer>

#include <algorithm>

namespace rovi {

Throttle::Throttle(QObject *parent, int period_ms, std::function<void()> action)
    : QObject(parent), period_ms_(period_ms), timer_(new QTimer(this)), action_(std::move(action))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { Run(); });
}

bool Throttle::Holding() const
{
    return since_run_.isValid() && since_run_.elapsed() < period_ms_;
}

void Throttle::Request()
{
    if (timer_->isActive())
        return; // already due at the period's end
    if (!Holding()) {
        Run();
        return;
    }
    timer_->start(std::max(0, static_cast<int>(period_ms_ - since_run_.elapsed())));
}

void Throttle::Run()
{
    since_run_.start();
    action_();
}

} // namespace rovi
