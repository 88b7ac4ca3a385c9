#include "reconnector.h"

#include "serial/portinfo.h"

#include <QTimer>

namespace rovi {

Reconnector::Reconnector(QObject *parent, std::function<bool()> reopen)
    : QObject(parent), timer_(new QTimer(this)), reopen_(std::move(reopen))
{
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, [this] { Poll(); });
}

void Reconnector::Watch(const std::string &port_name)
{
    name_ = port_name;
    timer_->start();
}

void Reconnector::Stop()
{
    timer_->stop();
}

bool Reconnector::Watching() const
{
    return timer_->isActive();
}

void Reconnector::Poll()
{
    if (PortPresent(name_) && reopen_())
        Stop();
}

} // namespace rovi
