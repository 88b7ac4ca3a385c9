#pragma once

// Runs an action at most once a period however often it is asked for: a
// request a period or more after the last run runs it at once; requests
// sooner run it once, when the period since the last run ends. A display
// that changes with every received chunk stays current to the eye at a
// fraction of the painting, and a lone request costs no timer at all.

#include <QElapsedTimer>
#include <QObject>

#include <functional>

class QTimer;

namespace rovi {

class Throttle : public QObject {
public:
    Throttle(QObject *parent, int period_ms, std::function<void()> action);

    void Request();
    // True within a period of the last run: a request now waits for its end.
    bool Holding() const;

private:
    void Run();

    int period_ms_;
    QTimer *timer_;
    QElapsedTimer since_run_;
    std::function<void()> action_;
};

} // namespace rovi
