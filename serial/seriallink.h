#pragma once

#include "backlog.h"
#include "linetypes.h"

#include <QByteArray>
#include <QObject>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace rovi {

class CloseEvent;
class SerialDevice;
class NetLine;
class NoticeQueue;
class SerialReader;
class SerialWriter;

// One serial port: opens and configures the device, runs a reader and a
// writer thread while it is open, and tells what happens on the line through
// its signals, always emitted on the thread that owns the link. A port named
// tcp://HOST:PORT or rfc2217://HOST:PORT is a reader behind a device server
// instead (NetLine): the same signals, the same chunk rule.
//
// A notice belongs to the open it came from: once StopPort has returned,
// nothing more of that open is emitted, so a hang-up queued just before the
// port was closed or reopened never reaches a later open.
class SerialLink : public QObject {
    Q_OBJECT
public:
    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    // Opens and configures the device and starts both workers, or throws
    // SerialError and leaves the link as it was.
    void StartPort();
    // Ends both workers and closes the device; never throws.
    void StopPort();
    bool IsOpen() const { return device_ != nullptr || net_ != nullptr; }
    // The open port is a device server's (tcp:// or rfc2217://).
    bool IsNetwork() const { return net_ != nullptr; }

    // Queues a copy of the bytes for the writer; false when nothing was queued.
    bool WriteBytes(const void *buffer, std::uint16_t length);
    // Any number of bytes, whole and in order, as consecutive requests of at
    // most 65535 bytes.
    void WriteAll(std::string_view bytes);

    // The port's name as the user gave it (see ResolvePortName); used at the next StartPort.
    const std::string &PortName() const { return port_name_; }
    void SetPortName(const std::string &name) { port_name_ = name; }

    // Applied to an open port at once, when they differ from what it has.
    const LineSettings &Line() const { return line_; }
    void SetLineSettings(const LineSettings &line);
    const LineTimeouts &Timeouts() const { return timeouts_; }
    void SetTimeouts(const LineTimeouts &timeouts);

    // Received bytes emitted as chunkReceived and not yet handled. While more
    // than the limit (default 4 MB, taken at StartPort) are, the reader
    // waits and the driver holds the rest of the stream.
    static constexpr std::size_t kDefaultBacklogLimit = 4 * 1024 * 1024;
    void SetReceiveBacklogLimit(std::size_t bytes) { backlog_limit_ = bytes; }
    std::size_t ReceiveBacklogHeld() const;
    // The open port's workers have seen the line go away: hungUp is queued,
    // or emitted already.
    bool LineGone() const;

signals:
    // One chunk of 1 to 4096 bytes, cut by the read time-outs.
    void chunkReceived(const QByteArray &chunk);
    // LineError flags, emitted before the chunk they came with.
    void lineError(quint32 flags);
    // ModemChange bits.
    void modemChanged(quint32 bits);
    // The writer has nothing left to write: once after the open, then once
    // each time its queue runs dry.
    void sendQueueEmpty();
    // The device went away; once per open. The port stays open until StopPort.
    void hungUp();

private:
    // Emits what the open port's workers have queued, oldest first.
    void DeliverNotices();

    // StartPort for a device server's name.
    void StartNetwork();
    void ApplyTimeouts();
    void ApplyLineSettings();
    void StopReader();
    void StopWriter();
    template <class Worker> void StopWorker(std::unique_ptr<Worker> &worker, void (SerialDevice::*purge)());

    std::unique_ptr<SerialReader> reader_;
    std::unique_ptr<SerialWriter> writer_;
    std::shared_ptr<SerialDevice> device_;
    std::shared_ptr<CloseEvent> close_event_;
    std::size_t backlog_limit_ = kDefaultBacklogLimit;
    bool wake_posted_ = false; // a DeliverNotices posted by DeliverNotices is on its way
    std::shared_ptr<NoticeQueue> notices_; // the last open's (kept after closing, empty, for a look at its backlog)
    std::unique_ptr<NetLine> net_;         // instead of the device and the workers

    std::string port_name_; // named by the owner before StartPort
    LineSettings line_;
    LineTimeouts timeouts_;
};

} // namespace rovi
