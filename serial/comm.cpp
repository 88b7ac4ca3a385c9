#include "comm.h"

#include "device.h"
#include "linesettings.h"
#include "readthread.h"
#include "writethread.h"

#include <algorithm>

namespace rovi {

// Lives on the component's thread and turns the workers' notices into the
// component's events. Notices still queued when it is destroyed are
// discarded by Qt together with their blocks.
class TComm::NotifyWindow : public QObject {
public:
    explicit NotifyWindow(TComm *comm) : comm_(comm) {}

    bool event(QEvent *e) override
    {
        if (auto *notice = dynamic_cast<CommNotice *>(e)) {
            CommNotice::Accept();
            comm_->Dispatch(notice->Message(), notice->Param(), notice->Block());
            return true;
        }
        return QObject::event(e);
    }

private:
    TComm *comm_;
};

TComm::TComm(QObject *owner) : QObject(owner), notify_window_(std::make_unique<NotifyWindow>(this)) {}

TComm::~TComm()
{
    // The owner stops the port first; stopping here too keeps the workers
    // from outliving the component if it does not.
    StopPort();
}

void TComm::Dispatch(int message, std::uint32_t param, const char *block)
{
    switch (message) {
    case COMM_MSG_DATA:
        if (OnReceiveData)
            OnReceiveData(this, block, static_cast<std::uint16_t>(param & 0xFFFF));
        break;
    case COMM_MSG_ERROR:
        if (OnReceiveError)
            OnReceiveError(this, param);
        break;
    case COMM_MSG_HANGUP:
        if (OnRequestHangup)
            OnRequestHangup(this);
        break;
    case COMM_MSG_MODEM:
        if (OnModemStateChange)
            OnModemStateChange(this, param);
        break;
    case COMM_MSG_TX_EMPTY:
        if (OnSendDataEmpty)
            OnSendDataEmpty(this);
        break;
    default:
        break;
    }
}

void TComm::StartPort()
{
    if (IsOpen())
        throw ECommsError("此串口已经打开");

    const NativeHandle handle = CommDevice::OpenExclusive(comm_name_);
    device_ = std::make_shared<CommDevice>(handle, timeouts_);
    device_->PurgeInput();
    device_->PurgeOutput();
    ApplyTimeouts();
    ApplyLineSettings();

    close_event_ = std::make_shared<CloseEvent>();
    if (!close_event_->Valid()) {
        close_event_.reset();
        device_.reset();
        throw ECommsError("无法创建事件");
    }

    const NoticeTarget notify(notify_window_.get(), backlog_limit_);
    backlog_ = notify.Backlog();
    try {
        reader_ = std::make_unique<TReadThread>(device_, close_event_, notify);
    } catch (...) {
        reader_.reset();
        close_event_.reset();
        device_.reset();
        throw ECommsError("无法创建读线程");
    }
    try {
        writer_ = std::make_unique<TWriteThread>(device_, close_event_, notify);
        if (!writer_->Queue().Valid())
            throw ECommsError("无法创建写线程");
    } catch (...) {
        StopReader();
        writer_.reset();
        close_event_.reset();
        device_.reset();
        throw ECommsError("无法创建写线程");
    }
    reader_->start(QThread::HighestPriority);
    writer_->start(QThread::HighPriority);
}

// Signals the close event, purges the worker's side of the device (which
// ends its pending operation), and waits for the worker to end.
template <class Worker> void TComm::StopWorker(std::unique_ptr<Worker> &worker, void (CommDevice::*purge)())
{
    if (!worker)
        return;
    close_event_->Signal();
    (device_.get()->*purge)();
    worker->Join();
    worker.reset();
}

void TComm::StopReader()
{
    StopWorker(reader_, &CommDevice::PurgeInput);
}

void TComm::StopWriter()
{
    StopWorker(writer_, &CommDevice::PurgeOutput);
}

void TComm::StopPort()
{
    if (!IsOpen())
        return;
    StopReader();
    StopWriter();
    close_event_.reset();
    device_.reset(); // closes the device and gives up the exclusive hold
}

std::size_t TComm::ReceiveBacklogHeld() const
{
    return backlog_ ? backlog_->Held() : 0;
}

bool TComm::WriteBytes(const void *Buffer, std::uint16_t Length)
{
    if (!writer_ || Length == 0)
        return false;
    return writer_->Queue().Push(ByteString(static_cast<const char *>(Buffer), Length));
}

void TComm::WriteAll(std::string_view bytes)
{
    constexpr std::size_t kMaxRequest = 0xFFFF;
    for (std::size_t offset = 0; offset < bytes.size(); offset += kMaxRequest) {
        const std::size_t n = std::min(kMaxRequest, bytes.size() - offset);
        WriteBytes(bytes.data() + offset, static_cast<std::uint16_t>(n));
    }
}

void TComm::ApplyTimeouts()
{
    device_->SetTimeouts(timeouts_);
}

void TComm::ApplyLineSettings()
{
    ApplyLineSettingsToDevice(device_->Handle(), line_);
}

} // namespace rovi
