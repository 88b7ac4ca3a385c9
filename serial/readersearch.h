#pragma once

// Finding a reader whose port and baud rate nobody knows: on each candidate
// port (all at once, one link each), the query frame at each candidate rate
// in turn, until a verified 12-byte report comes back. Each rate waits for
// the query and the reply on the wire, the silence that ends a chunk and a
// margin (SearchWait). A report says the reader's rate in its baud byte:
// it is credited to that rate (a reply to an earlier rate's query that came
// late is still the reader at that rate), and one that names a rate not yet
// tried answers no query of ours and is passed over. A tcp:// port is asked
// once: its server sets the line's rate, and its report says which.

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

// How long to wait for a reply at `rate`: the query's 12 bytes and the
// report's 12 on the wire (10 bits a byte), the 100 ms of silence that ends
// a chunk, up to 16 ms of the reader's rest, and 100 ms for the reader's
// own delay and a busy machine.
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
    std::optional<int> AnsweredRate(const PortSearch &search, const Frame &report) const;
    void Done(PortSearch &search);

    std::vector<std::unique_ptr<PortSearch>> searches_;
    std::vector<int> rates_;
    int running_ = 0;
};

} // namespace rovi
