#include "readerlink.h"

#include "protocol/frame.h"

#include <QDeadlineTimer>
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
        return "cannot open " + port + ": permission denied; " + device + " belongs to group " +
               (failure.group.empty() ? std::string("?") : failure.group) + ": sudo usermod -aG " +
               (failure.group.empty() ? std::string("dialout") : failure.group) + " $USER, then log in again";
    case OpenFailure::Kind::Busy: {
        std::string who;
        for (const PortHolder &h : failure.holders)
            who += (who.empty() ? "" : ", ") + h.command + " (pid " + std::to_string(h.pid) + ")";
        return "cannot open " + port + ": busy, held by " + (who.empty() ? "another program" : who);
    }
    case OpenFailure::Kind::Other:
        break;
    }
    return "cannot open " + port + ": " + std::strerror(failure.error);
}

ReaderLink::ReaderLink(const LineOptions &line)
{
    comm_.SetCommName(line.port);
    comm_.SetBaudRate(line.baud);
    comm_.SetParity(line.parity);
    comm_.SetByteSize(line.data_bits);
    comm_.SetStopBits(line.stop_bits);
    // The window's line: no software flow control, which would swallow 0x11 and 0x13.
    comm_.SetOutx_XonXoffFlow(false);
    comm_.SetInx_XonXoffFlow(false);
    comm_.OnReceiveData = [this](TComm *, const void *buffer, std::uint16_t length) {
        chunks_.emplace_back(static_cast<const char *>(buffer), length);
        if (waiting_)
            waiting_->quit();
    };
    comm_.OnRequestHangup = [this](TComm *) {
        hung_up_ = true;
        if (waiting_)
            waiting_->quit();
    };
    try {
        comm_.StartPort();
    } catch (const ECommsError &e) {
        throw OpenError{DiagnoseOpenFailure(line.port, e.Errno())};
    }
}

ReaderLink::~ReaderLink()
{
    comm_.StopPort();
}

void ReaderLink::Send(const ByteString &bytes)
{
    comm_.WriteAll(bytes);
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

std::optional<ByteString> ReaderLink::NextReply(int timeout_ms)
{
    const QDeadlineTimer deadline(timeout_ms);
    while (true) {
        const auto chunk = NextChunk(static_cast<int>(std::max<qint64>(0, deadline.remainingTime())));
        if (!chunk)
            return std::nullopt;
        if (chunk->size() == kFrameSize || chunk->size() == kAckSize)
            return chunk;
    }
}

} // namespace rovi::cli
