#pragma once

// Runs an action at most once a period however often it is asked for: the
// first request runs it at once, requests during the period that follows
// run it once more at the period's end. A display that changes with every
// received chunk stays current to the eye at a fraction of the painting.

#include <QObject>

#include <functional>

class QTimer;

namespace rovi {

class Throttle : public QObject {
public:
    Throttle(QObject *parent, int period_ms, std::function<void()> action);

    void Request();
    // True while a period runs: a request now waits for its end.
    bool Holding() const;

private:
    void PeriodEnded();

    QTimer *timer_;
    std::function<void()> action_;
    bool pending_ = false;
};

} // namespace rovi
