#pragma once

#include "backlog.h"
#include "commtypes.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace rovi {

class CloseEvent;
class CommDevice;
class TComm;
class TReadThread;
class TWriteThread;

using TReceiveDataEvent = std::function<void(TComm *Sender, const void *Buffer, std::uint16_t BufferLength)>;
using TReceiveErrorEvent = std::function<void(TComm *Sender, std::uint32_t EventMask)>;
using TModemStateChangeEvent = std::function<void(TComm *Sender, std::uint32_t ModemEvent)>;
using TSendDataEmptyEvent = std::function<void(TComm *Sender)>;
using TNotifyEvent = std::function<void(TComm *Sender)>;

// The serial port component: owns one tty, keeps the line settings and the
// time-outs as properties, and runs a reader and a writer thread while the
// port is open. Every event handler runs on the thread that owns the
// component (the window thread); an unassigned handler drops its notice.
class TComm : public QObject {
    Q_OBJECT
public:
    explicit TComm(QObject *owner = nullptr);
    ~TComm() override;

    // Opens and configures the device and starts both workers, or throws
    // ECommsError and leaves the component as it was.
    void StartPort();
    // Ends both workers and closes the device; never throws.
    void StopPort();
    // Queues a copy of the bytes for the writer; false when nothing was queued.
    bool WriteBytes(const void *Buffer, std::uint16_t Length);
    // Any number of bytes, whole and in order, as consecutive requests of at
    // most 65535 bytes.
    void WriteAll(std::string_view bytes);

    bool IsOpen() const { return device_ != nullptr; }

    // Properties. CommName and Parity only store; every other setter applies
    // a changed value to an open device at once.
    const std::string &CommName() const { return comm_name_; }
    void SetCommName(const std::string &name) { comm_name_ = name; }
    const LineSettings &Line() const { return line_; }
    const CommTimeouts &Timeouts() const { return timeouts_; }

    std::uint32_t BaudRate() const { return line_.BaudRate; }
    TParity Parity() const { return line_.Parity; }
    TByteSize ByteSize() const { return line_.ByteSize; }
    TStopBits StopBits() const { return line_.StopBits; }

    void SetBaudRate(std::uint32_t v) { SetLine(&LineSettings::BaudRate, v); }
    void SetParityCheck(bool v) { SetLine(&LineSettings::ParityCheck, v); }
    void SetOutx_CtsFlow(bool v) { SetLine(&LineSettings::Outx_CtsFlow, v); }
    void SetOutx_DsrFlow(bool v) { SetLine(&LineSettings::Outx_DsrFlow, v); }
    void SetDtrControl(TDtrControl v) { SetLine(&LineSettings::DtrControl, v); }
    void SetDsrSensitivity(bool v) { SetLine(&LineSettings::DsrSensitivity, v); }
    void SetTxContinueOnXoff(bool v) { SetLine(&LineSettings::TxContinueOnXoff, v); }
    void SetOutx_XonXoffFlow(bool v) { SetLine(&LineSettings::Outx_XonXoffFlow, v); }
    void SetInx_XonXoffFlow(bool v) { SetLine(&LineSettings::Inx_XonXoffFlow, v); }
    void SetReplaceWhenParityError(bool v) { SetLine(&LineSettings::ReplaceWhenParityError, v); }
    void SetIgnoreNullChar(bool v) { SetLine(&LineSettings::IgnoreNullChar, v); }
    void SetRtsControl(TRtsControl v) { SetLine(&LineSettings::RtsControl, v); }
    void SetXonLimit(std::uint16_t v) { SetLine(&LineSettings::XonLimit, v); }
    void SetXoffLimit(std::uint16_t v) { SetLine(&LineSettings::XoffLimit, v); }
    void SetByteSize(TByteSize v) { SetLine(&LineSettings::ByteSize, v); }
    void SetParity(TParity v) { line_.Parity = v; }
    void SetStopBits(TStopBits v) { SetLine(&LineSettings::StopBits, v); }
    void SetXonChar(char v) { SetLine(&LineSettings::XonChar, v); }
    void SetXoffChar(char v) { SetLine(&LineSettings::XoffChar, v); }
    void SetReplacedChar(char v) { SetLine(&LineSettings::ReplacedChar, v); }

    void SetReadIntervalTimeout(std::uint32_t v) { SetTimeout(&CommTimeouts::ReadIntervalTimeout, v); }
    void SetReadTotalTimeoutMultiplier(std::uint32_t v) { SetTimeout(&CommTimeouts::ReadTotalTimeoutMultiplier, v); }
    void SetReadTotalTimeoutConstant(std::uint32_t v) { SetTimeout(&CommTimeouts::ReadTotalTimeoutConstant, v); }
    void SetWriteTotalTimeoutMultiplier(std::uint32_t v) { SetTimeout(&CommTimeouts::WriteTotalTimeoutMultiplier, v); }
    void SetWriteTotalTimeoutConstant(std::uint32_t v) { SetTimeout(&CommTimeouts::WriteTotalTimeoutConstant, v); }

    // Received bytes posted to this thread and not yet handled. While more
    // than the limit (default 4 MB, taken at StartPort) are, the reader
    // waits and the driver holds the rest of the stream.
    static constexpr std::size_t kDefaultBacklogLimit = 4 * 1024 * 1024;
    void SetReceiveBacklogLimit(std::size_t bytes) { backlog_limit_ = bytes; }
    std::size_t ReceiveBacklogHeld() const;

    // Events: assign a handler, or leave empty to drop the notice.
    TReceiveDataEvent OnReceiveData;
    TNotifyEvent OnRequestHangup;
    TReceiveErrorEvent OnReceiveError;
    TModemStateChangeEvent OnModemStateChange;
    TSendDataEmptyEvent OnSendDataEmpty;

private:
    class NotifyWindow;

    template <class T> void SetLine(T LineSettings::*member, T value)
    {
        if (line_.*member == value)
            return;
        line_.*member = value;
        if (IsOpen())
            ApplyLineSettings();
    }
    template <class T> void SetTimeout(T CommTimeouts::*member, T value)
    {
        if (timeouts_.*member == value)
            return;
        timeouts_.*member = value;
        if (IsOpen())
            ApplyTimeouts();
    }

    void ApplyTimeouts();
    void ApplyLineSettings();
    void StopReader();
    void StopWriter();
    template <class Worker> void StopWorker(std::unique_ptr<Worker> &worker, void (CommDevice::*purge)());
    void Dispatch(int message, std::uint32_t param, const char *block);

    std::unique_ptr<TReadThread> reader_;
    std::unique_ptr<TWriteThread> writer_;
    std::shared_ptr<CommDevice> device_;
    std::shared_ptr<CloseEvent> close_event_;
    std::size_t backlog_limit_ = kDefaultBacklogLimit;
    std::shared_ptr<rovi::ReceiveBacklog> backlog_; // the open port's (kept for a look after closing)
    std::unique_ptr<NotifyWindow> notify_window_;

    std::string comm_name_ = "COM2";
    LineSettings line_;
    CommTimeouts timeouts_;
};

} // namespace rovi
