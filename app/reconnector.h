#pragma once

// Watches for an unplugged port to come back: a cheap check of the device's
// path a few times a second (no busy loop), and on its return the reopen
// callback; while that fails (the device not ready yet, its permissions not
// set yet) the watch goes on.

#include <QObject>

#include <functional>
#include <string>

class QTimer;

namespace rovi {

class Reconnector : public QObject {
public:
    static constexpr int kPollMs = 300;

    // reopen: true once the port is open again.
    Reconnector(QObject *parent, std::function<bool()> reopen);

    void Watch(const std::string &port_name);
    void Stop();
    bool Watching() const;

private:
    void Poll();

    QTimer *timer_;
    std::string name_;
    std::function<bool()> reopen_;
};

} // namespace rovi
