#pragma once

// Finding a reader whose port and baud rate nobody knows: on each candidate
// port (all at once, one link each), the query frame at each candidate rate
// in turn, until a verified 12-byte report comes back. A reply arrives
// about 100 ms after its last byte, so each rate waits 150 ms plus the
// frame's time on the wire at that rate (SearchWait).

#include "seriallink.h"

#include "protocol/frame.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rovi {

// The rates to try, the last used first, then the factory rate 9600, then
// the rest from the fastest down. Rates not in `candidates` are left out.
std::vector<int> SearchRateOrder(const std::vector<int> &candidates, std::optional<int> last_used);

// How long to wait for a reply at `rate`: 150 ms plus 12 bytes on the wire
// (10 bits a byte).
std::chrono::milliseconds SearchWait(int rate);

class ReaderSearch : public QObject {
    Q_OBJECT
public:
    explicit ReaderSearch(QObject *parent = nullptr);
    ~ReaderSearch() override;

    // Starts on every port at once; `rates` in the order to try them.
    void Start(const std::vector<std::string> &ports, const std::vector<int> &rates);
    // Ends every port's search and closes every port it opened.
    void Stop();
    bool Running() const;

signals:
    void trying(const QString &port, int rate);
    void found(const QString &port, int rate, const rovi::Frame &report);
    // The port could not be opened (the reason as the system gives it, in
    // `error`), or no rate gave a report.
    void portFailed(const QString &port, int error);
    void portSilent(const QString &port);
    void finished();

private:
    struct PortSearch;
    void Next(PortSearch &search);
    void Check(PortSearch &search);
    void Done(PortSearch &search);

    std::vector<std::unique_ptr<PortSearch>> searches_;
    std::vector<int> rates_;
    int running_ = 0;
};

} // namespace rovi
