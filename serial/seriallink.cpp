#include "seriallink.h"

#include "device.h"
#include "notice.h"
#include "linesettings.h"
#include "netline.h"
#include "serialreader.h"
#include "serialwriter.h"
#include "base/texts.h"

#include <algorithm>

namespace rovi {

SerialLink::SerialLink(QObject *parent) : QObject(parent) {}

SerialLink::~SerialLink()
{
    // The owner stops the port first; stopping here too keeps the workers
    // from outliving the link if it does not.
    StopPort();
}

void SerialLink::StartPort()
{
    if (IsOpen())
        throw SerialError(Translated("SerialLink", "此串口已经打开"));
    if (LooksLikeNetPort(port_name_)) {
        StartNetwork();
        return;
    }

    const NativeHandle handle = SerialDevice::OpenExclusive(port_name_);
    device_ = std::make_shared<SerialDevice>(handle, timeouts_);
    device_->PurgeInput();
    device_->PurgeOutput();
    ApplyTimeouts();
    ApplyLineSettings();

    close_event_ = std::make_shared<CloseEvent>();
    if (!close_event_->Valid()) {
        close_event_.reset();
        device_.reset();
        throw SerialError(Translated("SerialLink", "无法创建事件"));
    }

    // Each open has its own queue; the wake is queued to this thread, where
    // DeliverNotices takes whatever the queue holds by then.
    const NoticeTarget notify = std::make_shared<NoticeQueue>(
        backlog_limit_, [this] { QMetaObject::invokeMethod(this, &SerialLink::DeliverNotices, Qt::QueuedConnection); });
    notices_ = notify;
    try {
        reader_ = std::make_unique<SerialReader>(device_, close_event_, notify);
    } catch (...) {
        reader_.reset();
        close_event_.reset();
        device_.reset();
        throw SerialError(Translated("SerialLink", "无法创建读线程"));
    }
    try {
        writer_ = std::make_unique<SerialWriter>(device_, close_event_, notify);
        if (!writer_->Queue().Valid())
            throw SerialError(Translated("SerialLink", "无法创建写线程"));
    } catch (...) {
        StopReader();
        writer_.reset();
        close_event_.reset();
        device_.reset();
        throw SerialError(Translated("SerialLink", "无法创建写线程"));
    }
    reader_->start(QThread::HighestPriority);
    writer_->start(QThread::HighPriority);
}

void SerialLink::StartNetwork()
{
    const auto port = ParseNetPort(port_name_);
    if (!port)
        throw SerialError(Translated("SerialLink", kOpenFailureMessage), static_cast<int>(NetFailure::BadAddress));
    net_ = std::make_unique<NetLine>(*port, line_, timeouts_.readInterval, nullptr);
    connect(net_.get(), &NetLine::chunkReceived, this, &SerialLink::chunkReceived);
    connect(net_.get(), &NetLine::sendQueueEmpty, this, &SerialLink::sendQueueEmpty);
    connect(net_.get(), &NetLine::hungUp, this, &SerialLink::hungUp);
}

// Signals the close event, purges the worker's side of the device (which
// ends its pending operation), and waits for the worker to end.
template <class Worker> void SerialLink::StopWorker(std::unique_ptr<Worker> &worker, void (SerialDevice::*purge)())
{
    if (!worker)
        return;
    close_event_->Signal();
    (device_.get()->*purge)();
    worker->Join();
    worker.reset();
}

void SerialLink::StopReader()
{
    StopWorker(reader_, &SerialDevice::PurgeInput);
}

void SerialLink::StopWriter()
{
    StopWorker(writer_, &SerialDevice::PurgeOutput);
}

void SerialLink::StopPort()
{
    if (!IsOpen())
        return;
    if (net_) {
        net_.reset(); // nothing it has on its way is emitted any more
        return;
    }
    StopReader();
    StopWriter();
    // Whatever this open still has queued is dropped: nothing of it is
    // emitted once StopPort has returned (its wakes find the queue empty,
    // and the workers that could fill it again have ended).
    notices_->Clear();
    close_event_.reset();
    device_.reset(); // closes the device and gives up the exclusive hold
}

std::size_t SerialLink::ReceiveBacklogHeld() const
{
    return notices_ ? notices_->Backlog().Held() : 0;
}

bool SerialLink::LineGone() const
{
    if (net_)
        return net_->Gone();
    return IsOpen() && notices_ && notices_->HungUp();
}

void SerialLink::DeliverNotices()
{
    // One at a time: a slot may stop the port (which empties its queue) or
    // run a nested event loop that delivers the next notices meanwhile.
    const std::shared_ptr<NoticeQueue> queue = notices_;
    wake_posted_ = false; // this call is the wake
    while (queue && notices_ == queue) {
        const std::optional<Notice> n = queue->Take();
        if (!n)
            return;
        // A slot may open a message box, whose event loop runs until it
        // closes: the notices behind this one get a wake of their own, so
        // cards are logged and a hang-up acted on meanwhile. One wake at a
        // time is enough (it takes them all), not one per notice.
        if (!wake_posted_ && queue->Waiting()) {
            wake_posted_ = true;
            QMetaObject::invokeMethod(this, &SerialLink::DeliverNotices, Qt::QueuedConnection);
        }
        switch (n->kind) {
        case Notice::Kind::Chunk: emit chunkReceived(n->chunk); break;
        case Notice::Kind::LineError: emit lineError(n->value); break;
        case Notice::Kind::ModemChange: emit modemChanged(n->value); break;
        case Notice::Kind::SendQueueEmpty: emit sendQueueEmpty(); break;
        case Notice::Kind::HungUp: emit hungUp(); break;
        }
        queue->Handled(*n);
    }
}

bool SerialLink::WriteBytes(const void *buffer, std::uint16_t length)
{
    if (net_)
        return net_->Write(std::string_view(static_cast<const char *>(buffer), length));
    if (!writer_ || length == 0)
        return false;
    return writer_->Queue().Push(ByteString(static_cast<const char *>(buffer), length));
}

void SerialLink::WriteAll(std::string_view bytes)
{
    constexpr std::size_t kMaxRequest = 0xFFFF;
    for (std::size_t offset = 0; offset < bytes.size(); offset += kMaxRequest) {
        const std::size_t n = std::min(kMaxRequest, bytes.size() - offset);
        WriteBytes(bytes.data() + offset, static_cast<std::uint16_t>(n));
    }
}

void SerialLink::SetLineSettings(const LineSettings &line)
{
    if (line_ == line)
        return;
    line_ = line;
    if (IsOpen())
        ApplyLineSettings();
}

void SerialLink::SetTimeouts(const LineTimeouts &timeouts)
{
    if (timeouts_ == timeouts)
        return;
    timeouts_ = timeouts;
    if (IsOpen())
        ApplyTimeouts();
}

void SerialLink::ApplyTimeouts()
{
    if (net_)
        net_->SetSilence(timeouts_.readInterval);
    else
        device_->SetTimeouts(timeouts_);
}

void SerialLink::ApplyLineSettings()
{
    if (net_)
        net_->SetLineSettings(line_);
    else
        ApplyLineSettingsToDevice(device_->Handle(), line_);
}

} // namespace rovi
