#pragma once

#include "linetypes.h"
#include "netport.h"
#include "netsocket.h"
#include "telnetcodec.h"

#include <QByteArray>
#include <QObject>

#include <optional>
#include <string>
#include <string_view>

class QSocketNotifier;
class QTimer;

namespace rovi {

// A reader behind a serial device server, as the link's line: one TCP
// connection, served on the thread that owns it (socket notifiers, no
// worker threads), with the serial port's chunk rule: received bytes are
// one chunk once the line has been silent for the read interval, or at
// 4096 bytes. With rfc2217:// the bytes go through Telnet (TelnetCodec) and
// the line settings are sent to the server. The end of the connection is a
// hang-up.
class NetLine : public QObject {
    Q_OBJECT
public:
    // How long an open may take, the name's look-up included: the window
    // waits this long at most for a server that does not answer.
    static constexpr int kConnectMs = 1000;
    // Bytes waiting for a server that does not read; beyond, a write is refused.
    static constexpr std::size_t kMaxUnsent = 4 * 1024 * 1024;

    // Connects, or throws SerialError with a NetFailure.
    NetLine(const NetPort &port, const LineSettings &line, std::uint32_t silence_ms, QObject *parent);
    ~NetLine() override;

    // Queues the bytes; false when the server has not taken the last 4 MB.
    bool Write(std::string_view bytes);
    // rfc2217://: sent to the server. tcp://: the server's own.
    void SetLineSettings(const LineSettings &line);
    void SetSilence(std::uint32_t ms);
    bool Gone() const { return gone_; }

signals:
    void chunkReceived(const QByteArray &chunk);
    void sendQueueEmpty();
    void hungUp();

private:
    void ReadAvailable();
    void SendPending();
    void FlushChunk();
    void End();
    void QueueRaw(std::string_view bytes);

    NetSocket socket_;
    std::optional<TelnetCodec> telnet_; // rfc2217:// only
    QSocketNotifier *readable_;
    QSocketNotifier *writable_;
    QTimer *silence_;
    QByteArray chunk_;
    std::string unsent_;
    bool gone_ = false;
};

} // namespace rovi
