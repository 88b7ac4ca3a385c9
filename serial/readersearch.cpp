#include "readersearch.h"

#include "netport.h"

#include "protocol/replyscan.h"

#include <algorithm>

namespace rovi {

std::vector<int> SearchRateOrder(const std::vector<int> &candidates, std::optional<int> last_used)
{
    std::vector<int> order;
    auto add = [&](int rate) {
        if (std::find(candidates.begin(), candidates.end(), rate) != candidates.end() &&
            std::find(order.begin(), order.end(), rate) == order.end())
            order.push_back(rate);
    };
    if (last_used)
        add(*last_used);
    add(kFactoryBaudRate);
    for (int i = kBaudRates - 1; i >= 0; --i)
        add(kBaudRateValues[i]);
    return order;
}

std::chrono::milliseconds SearchWait(int rate)
{
    const long wire_ms = (static_cast<long>(kFrameSize) * 10 * 1000 + rate - 1) / std::max(rate, 1);
    constexpr long kSilenceMs = 100, kRestMs = 16, kMarginMs = 100;
    return std::chrono::milliseconds(2 * wire_ms + kSilenceMs + kRestMs + kMarginMs);
}

struct ReaderSearch::PortSearch {
    std::string port;
    SerialLink link;
    QTimer timer;
    std::size_t next_rate = 0;
    int rate = 0;
    QByteArray received;
    bool done = false;
    // tcp://: the server's line runs at the server's rate, whatever is
    // asked, so one query says all (at the first rate, credited to the
    // rate the report names).
    bool server_rate = false;
};

ReaderSearch::ReaderSearch(QObject *parent) : QObject(parent) {}

ReaderSearch::~ReaderSearch()
{
    Stop();
}

bool ReaderSearch::Running() const
{
    return running_ > 0;
}

void ReaderSearch::Start(const std::vector<std::string> &ports, const std::vector<int> &rates)
{
    Stop();
    searches_.clear();
    rates_ = rates;
    for (const std::string &port : ports) {
        auto search = std::make_unique<PortSearch>();
        search->port = port;
        const std::optional<NetPort> server = ParseNetPort(port);
        search->server_rate = server && server->kind == NetPort::Kind::Tcp;
        search->link.SetPortName(port);
        search->link.SetLineSettings(ReaderLine(rates_.empty() ? kFactoryBaudRate : static_cast<std::uint32_t>(rates_[0])));
        search->timer.setSingleShot(true);
        PortSearch *s = search.get();
        connect(&s->link, &SerialLink::chunkReceived, this, [this, s](const QByteArray &chunk) {
            s->received += chunk;
            Check(*s);
        });
        connect(&s->link, &SerialLink::hungUp, this, [this, s] {
            // Gone in the middle of the search: it ends for this port.
            if (!s->done) {
                emit portSilent(QString::fromStdString(s->port));
                Done(*s);
            }
        });
        connect(&s->timer, &QTimer::timeout, this, [this, s] {
            // A chunk already received but not yet handed over (a busy
            // thread sees the wait end and the chunk come at once) is looked
            // at before the rate is given up.
            if (s->link.ReceiveBacklogHeld() > 0)
                return s->timer.start(1);
            Next(*s);
        });
        searches_.push_back(std::move(search));
    }
    running_ = static_cast<int>(searches_.size());
    for (auto &search : searches_) {
        try {
            search->link.StartPort();
        } catch (const SerialError &e) {
            emit portFailed(QString::fromStdString(search->port), e.Errno());
            Done(*search);
            continue;
        }
        Next(*search);
    }
    if (running_ == 0)
        emit finished();
}

// The next rate: the line set to it, the query sent, the wait armed.
void ReaderSearch::Next(PortSearch &s)
{
    if (s.done)
        return;
    if (s.next_rate >= rates_.size() || (s.server_rate && s.next_rate > 0)) {
        emit portSilent(QString::fromStdString(s.port));
        Done(s);
        return;
    }
    s.rate = rates_[s.next_rate++];
    LineSettings line = s.link.Line();
    line.baudRate = static_cast<std::uint32_t>(s.rate);
    s.link.SetLineSettings(line);
    s.received.clear();
    emit trying(QString::fromStdString(s.port), s.rate);
    s.link.WriteAll(AsBytes(ComposeQuery()));
    s.timer.start(static_cast<int>(SearchWait(s.rate).count()));
}

// A verified report in what came at this rate ends the port's search.
void ReaderSearch::Check(PortSearch &s)
{
    if (s.done)
        return;
    const std::string_view got(s.received.constData(), static_cast<std::size_t>(s.received.size()));
    const Frame query = ComposeQuery();
    std::size_t from = 0;
    while (const auto reply = FindReply(got.substr(from), AsBytes(query))) {
        if (reply->form == FoundReply::Form::Report)
            if (const auto report = VerifiedReport(reply->bytes))
                if (const std::optional<int> rate = AnsweredRate(s, *report)) {
                    s.timer.stop();
                    emit found(QString::fromStdString(s.port), *rate, *report);
                    Done(s);
                    return;
                }
        from += reply->offset + reply->bytes.size(); // a reply that does not verify: look on
    }
}

// The rate whose query a report answers: the one its baud byte names, when
// this port has been asked at it; the rate of the moment when the byte
// names no rate; none when it names a rate not asked yet.
std::optional<int> ReaderSearch::AnsweredRate(const PortSearch &s, const Frame &report) const
{
    const std::optional<int> index = DecodeBaud(report[FramePos(Field::baud)]);
    if (!index)
        return s.rate;
    const int named = kBaudRateValues[*index];
    if (s.server_rate)
        return named;
    const auto asked_end = rates_.begin() + static_cast<std::ptrdiff_t>(s.next_rate);
    if (std::find(rates_.begin(), asked_end, named) == asked_end)
        return std::nullopt;
    return named;
}

void ReaderSearch::Done(PortSearch &s)
{
    if (s.done)
        return;
    s.done = true;
    s.timer.stop();
    s.link.StopPort();
    if (--running_ == 0)
        emit finished();
}

void ReaderSearch::Stop()
{
    for (auto &search : searches_) {
        search->done = true;
        search->timer.stop();
        search->link.StopPort();
    }
    running_ = 0;
}

} // namespace rovi
