#include "readerlink.h"

#include "serial/netsocket.h"
#include "ui/qtext.h"

#include "protocol/frame.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace rovi::cli {

std::string ExplainOpenFailure(const std::string &port, const OpenFailure &failure)
{
    const std::string device = failure.path.empty() ? port : failure.path;
    switch (failure.kind) {
    case OpenFailure::Kind::Missing:
        return "cannot open " + port + ": no such device (" + device + ")";
    case OpenFailure::Kind::Permission:
        if (!JoiningTheGroupHelps(failure))
            return "cannot open " + port + ": permission denied; only " +
                   (failure.owner.empty() ? std::string("root") : failure.owner) + " may open " + device;
        return "cannot open " + port + ": permission denied; " + device + " belongs to group " + failure.group +
               ": sudo usermod -aG " + failure.group + " $USER, then log in again";
    case OpenFailure::Kind::Busy: {
        std::string who;
        for (const PortHolder &h : failure.holders)
            who += (who.empty() ? "" : ", ") + h.command + " (pid " + std::to_string(h.pid) + ")";
        return "cannot open " + port + ": busy, held by " + (who.empty() ? "another program" : who);
    }
    case OpenFailure::Kind::Network:
        switch (static_cast<NetFailure>(failure.error)) {
        case NetFailure::BadAddress: return "cannot open " + port + ": not a network address (tcp://HOST:PORT or rfc2217://HOST:PORT)";
        case NetFailure::UnknownHost: return "cannot open " + port + ": unknown host";
        case NetFailure::Refused: return "cannot open " + port + ": connection refused (is the server serving that port?)";
        case NetFailure::TimedOut: return "cannot open " + port + ": no answer from the server in time";
        case NetFailure::Unreachable: return "cannot open " + port + ": network unreachable";
        case NetFailure::Other: break;
        }
        return "cannot open " + port + ": cannot connect";
    case OpenFailure::Kind::Other:
        break;
    }
    return "cannot open " + port + ": " + std::strerror(failure.error);
}

LineSettings LineOf(const LineOptions &line)
{
    LineSettings settings = ReaderLine(line.baud);
    settings.parity = line.parity;
    settings.dataBits = line.data_bits;
    settings.stopBits = line.stop_bits;
    return settings;
}

ReaderLink::ReaderLink(const LineOptions &line)
{
    link_.SetPortName(line.port);
    link_.SetLineSettings(LineOf(line));
    QObject::connect(&link_, &SerialLink::chunkReceived, [this](const QByteArray &chunk) {
        chunks_.emplace_back(ViewOf(chunk));
        if (waiting_)
            waiting_->quit();
    });
    QObject::connect(&link_, &SerialLink::hungUp, [this] {
        hung_up_ = true;
        if (waiting_)
            waiting_->quit();
    });
    try {
        link_.StartPort();
    } catch (const SerialError &e) {
        throw OpenError{DiagnoseOpenFailure(line.port, e.Errno())};
    }
}

ReaderLink::~ReaderLink()
{
    link_.StopPort();
}

void ReaderLink::SetBaudRate(std::uint32_t rate)
{
    LineSettings line = link_.Line();
    line.baudRate = rate;
    link_.SetLineSettings(line);
}

void ReaderLink::Send(const ByteString &bytes)
{
    link_.WriteAll(bytes);
}

std::optional<ByteString> ReaderLink::NextChunk(int timeout_ms)
{
    if (chunks_.empty() && !hung_up_ && timeout_ms != 0) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        if (timeout_ms > 0)
            timer.start(timeout_ms);
        waiting_ = &loop;
        loop.exec();
        waiting_ = nullptr;
    }
    if (chunks_.empty())
        return std::nullopt;
    ByteString chunk = std::move(chunks_.front());
    chunks_.pop_front();
    return chunk;
}

} // namespace rovi::cli
