#include "netline.h"

#include "serialconstants.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <vector>

namespace rovi {

NetLine::NetLine(const NetPort &port, const LineSettings &line, std::uint32_t silence_ms, QObject *parent)
    : QObject(parent), socket_(NetSocket::Connect(port, kConnectMs)),
      readable_(new QSocketNotifier(socket_.Native(), QSocketNotifier::Read, this)),
      writable_(new QSocketNotifier(socket_.Native(), QSocketNotifier::Write, this)), silence_(new QTimer(this))
{
    writable_->setEnabled(false);
    silence_->setSingleShot(true);
    SetSilence(silence_ms);
    connect(readable_, &QSocketNotifier::activated, this, [this] { ReadAvailable(); });
    connect(writable_, &QSocketNotifier::activated, this, [this] { SendPending(); });
    connect(silence_, &QTimer::timeout, this, [this] { FlushChunk(); });
    if (port.kind == NetPort::Kind::Rfc2217) {
        telnet_.emplace();
        QueueRaw(telnet_->Start());
        SetLineSettings(line);
    }
    // As a serial port's writer says once after the open that it has nothing to write.
    QMetaObject::invokeMethod(this, [this] { emit sendQueueEmpty(); }, Qt::QueuedConnection);
}

NetLine::~NetLine() = default;

void NetLine::SetSilence(std::uint32_t ms)
{
    silence_->setInterval(static_cast<int>(ms == 0 ? 1 : ms));
}

void NetLine::SetLineSettings(const LineSettings &line)
{
    if (telnet_)
        QueueRaw(TelnetCodec::LineCommands(line));
}

bool NetLine::Write(std::string_view bytes)
{
    if (gone_ || bytes.empty() || unsent_.size() >= kMaxUnsent)
        return false;
    QueueRaw(telnet_ ? std::string_view(TelnetCodec::Encode(bytes)) : bytes);
    return true;
}

void NetLine::QueueRaw(std::string_view bytes)
{
    if (gone_)
        return;
    unsent_.append(bytes);
    SendPending();
}

void NetLine::SendPending()
{
    const bool had = !unsent_.empty();
    while (!unsent_.empty()) {
        const std::ptrdiff_t n = socket_.Write(unsent_.data(), unsent_.size());
        if (n == NetSocket::kWouldBlock || n == 0)
            break;
        if (n == NetSocket::kEnded) {
            End();
            return;
        }
        unsent_.erase(0, static_cast<std::size_t>(n));
    }
    writable_->setEnabled(!unsent_.empty());
    if (had && unsent_.empty())
        QMetaObject::invokeMethod(this, [this] { emit sendQueueEmpty(); }, Qt::QueuedConnection);
}

void NetLine::ReadAvailable()
{
    char buffer[kReadBufferSize];
    std::vector<QByteArray> full; // chunks of 4096 bytes: they leave at once, as from a serial port
    for (;;) {
        const std::ptrdiff_t n = socket_.Read(buffer, sizeof buffer);
        if (n == NetSocket::kWouldBlock)
            break;
        if (n == NetSocket::kEnded) {
            End();
            break;
        }
        std::string_view data(buffer, static_cast<std::size_t>(n));
        std::string decoded;
        if (telnet_) {
            std::string reply;
            decoded = telnet_->Decode(data, reply);
            data = decoded;
            if (!reply.empty())
                QueueRaw(reply);
        }
        while (!data.empty()) {
            const std::size_t take = std::min(kReadBufferSize - static_cast<std::size_t>(chunk_.size()), data.size());
            chunk_.append(data.data(), static_cast<qsizetype>(take));
            data.remove_prefix(take);
            if (static_cast<std::size_t>(chunk_.size()) == kReadBufferSize)
                full.push_back(std::exchange(chunk_, QByteArray()));
        }
        if (gone_ || static_cast<std::size_t>(n) < sizeof buffer)
            break;
    }
    if (!chunk_.isEmpty() && !gone_)
        silence_->start();
    // A slot may close the port, and this line with it.
    const QPointer<NetLine> alive(this);
    for (const QByteArray &chunk : full) {
        emit chunkReceived(chunk);
        if (!alive)
            return;
    }
}

void NetLine::FlushChunk()
{
    silence_->stop();
    if (chunk_.isEmpty())
        return;
    const QByteArray chunk = std::exchange(chunk_, QByteArray());
    emit chunkReceived(chunk);
}

// The server closed the connection or it broke: what came before it is
// delivered, then the hang-up, once, from the event loop (never from inside
// a read or a write, which a slot closing the port would cut short).
void NetLine::End()
{
    if (gone_)
        return;
    gone_ = true;
    readable_->setEnabled(false);
    writable_->setEnabled(false);
    silence_->stop();
    QMetaObject::invokeMethod(
        this,
        [this] {
            const QPointer<NetLine> alive(this);
            FlushChunk();
            if (alive)
                emit hungUp();
        },
        Qt::QueuedConnection);
}

} // namespace rovi
