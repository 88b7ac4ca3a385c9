#include "readerconsole.h"

#include "base/convert.h"
#include "panel/parampanel.h"
#include "panel/trafficmonitor.h"
#include "protocol/hexstr.h"
#include "protocol/trafficfile.h"
#include "serial/seriallink.h"
#include "ui/messages.h"
#include "ui/qtext.h"

#include <QTimer>

namespace rovi {

using panel::ComposeFieldSetFor;
using panel::ComposeFor;
using panel::PanelButton;

namespace {

constexpr int kReplyTimeoutMs = 1000;

} // namespace

ReaderConsole::ReaderConsole(QWidget *window, panel::ParamPanel &panel, panel::TrafficMonitor &monitor,
                             SerialLink &link)
    : QObject(window), window_(window), panel_(panel), monitor_(monitor), link_(link), reply_timer_(new QTimer(this))
{
    reply_timer_->setObjectName(QStringLiteral("replyTimer"));
    reply_timer_->setSingleShot(true);
    reply_timer_->setInterval(kReplyTimeoutMs);
    connect(reply_timer_, &QTimer::timeout, this, Guarded(window_, [this] { OnReplyTimeout(); }));

    connect(&panel_, &panel::ParamPanel::factoryResetRequested, this, Guarded(window_, [this] { FactoryReset(); }));
    connect(&panel_, &panel::ParamPanel::setAllRequested, this, Guarded(window_, [this] { SetAll(); }));
    connect(&panel_, &panel::ParamPanel::queryRequested, this, Guarded(window_, [this] { Query(); }));
    connect(&panel_, &panel::ParamPanel::fieldSetRequested, this,
            [this](Field field) { RunHandler(window_, [this, field] { SetField(field); }); });
    connect(&monitor_, &panel::TrafficMonitor::rawSendRequested, this,
            [this](const QString &text) { RunHandler(window_, [this, &text] { SendRaw(text); }); });
    connect(&monitor_, &panel::TrafficMonitor::clearRequested, this, Guarded(window_, [this] { ClearTraffic(); }));

    flush_timer_ = new QTimer(this);
    flush_timer_->setInterval(1000);
    connect(flush_timer_, &QTimer::timeout, this, [this] { FlushLogFile(); });

    connect(&link_, &SerialLink::chunkReceived, this, &ReaderConsole::HandleChunk);
    connect(&link_, &SerialLink::lineError, this, [this](quint32 flags) { HandleLineError(flags); });
    connect(&link_, &SerialLink::modemChanged, this, [this](quint32 bits) { HandleModemChange(bits); });
}

void ReaderConsole::HandleLineError(std::uint32_t flags)
{
    if (error_bursts_.StartsBurst(flags, LineErrorBursts::Clock::now()))
        LogNote(LineErrorLogLine(flags));
}

void ReaderConsole::HandleModemChange(std::uint32_t bits)
{
    if (bits & ModemChange::CarrierDetect)
        LogNote(Translated("LineTrouble", kCarrierLogLine));
}

void ReaderConsole::LogNote(const std::string &note)
{
    Log(NoteLine(std::chrono::system_clock::now(), note));
}

void ReaderConsole::Log(const TrafficLine &line)
{
    if (file_)
        file_->Append(line);
    monitor_.Log(line);
}

ReaderConsole::~ReaderConsole() = default;

void ReaderConsole::SetLogFolder(const std::string &folder)
{
    file_.reset(); // writes what it holds
    flush_timer_->stop();
    if (folder.empty())
        return;
    file_ = std::make_unique<TrafficFile>(folder);
    file_failed_ = false;
    flush_timer_->start();
}

void ReaderConsole::FlushLogFile()
{
    if (!file_)
        return;
    if (file_->Flush()) {
        file_failed_ = false; // a later failure is told again
        return;
    }
    if (file_failed_)
        return; // told once, not every second
    file_failed_ = true;
    Warn(window_, tr("无法写入记录文件 %1").arg(ToQ(file_->PathFor(std::chrono::system_clock::now()))) +
                      QLatin1Char('\n') + ToQ(file_->LastError()));
}

void ReaderConsole::FactoryReset()
{
    SendFrame(ComposeFor(PanelButton::FactoryReset, panel_.Snapshot()));
}

void ReaderConsole::SetAll()
{
    SendFrame(ComposeFor(PanelButton::SetAll, panel_.Snapshot()));
}

void ReaderConsole::Query()
{
    panel_.ClearMirrors();
    SendFrame(ComposeFor(PanelButton::Query, panel_.Snapshot()));
}

void ReaderConsole::SetField(Field field)
{
    SendFrame(ComposeFieldSetFor(field, panel_.Snapshot()));
}

// The common send routine: the frame's bytes to the writer, its line in
// the logs and the record file, the time-out. A command with no frame sends
// nothing.
void ReaderConsole::SendFrame(const std::optional<Frame> &frame)
{
    if (!frame)
        return;
    const std::string_view bytes = AsBytes(*frame);
    Log(ChunkLine(std::chrono::system_clock::now(), TrafficDirection::Sent, bytes));
    link_.WriteAll(bytes);
    ArmTimer();
}

// Raw bytes go to the record file, not to the logs.
void ReaderConsole::SendData(const ByteString &bytes)
{
    if (file_ && !bytes.empty())
        file_->Append(ChunkLine(std::chrono::system_clock::now(), TrafficDirection::Sent, bytes));
    link_.WriteAll(bytes); // a long raw send goes whole, in order
}

void ReaderConsole::ArmTimer()
{
    if (!reply_timer_->isActive())
        reply_timer_->start();
}

void ReaderConsole::SendRaw(const QString &hex_text)
{
    const std::string raw = ToStd(hex_text);
    if (Trim(raw).empty())
        return;
    SendData(HexToBytes(raw));
    ArmTimer();
}

void ReaderConsole::ClearTraffic()
{
    monitor_.Reset();
}

void ReaderConsole::OnReplyTimeout()
{
    reply_timer_->stop();
    Warn(window_, tr("发送失败"));
}

void ReaderConsole::HandleChunk(const QByteArray &bytes)
{
    const std::string_view chunk = ViewOf(bytes);
    // Acknowledgements, and the panel's rules while a report is applied,
    // share one box that never nests.
    const MessageSlotScope one_box(received_messages_);
    // Nothing here raises an error: the counter is an integer, the lines
    // are built from any bytes, and the panel's rules that a report sets
    // off each run under their own handler wrapper.
    reply_timer_->stop();
    const auto now = std::chrono::system_clock::now();
    const TrafficLine line = ChunkLine(now, TrafficDirection::Received, chunk);
    if (!line.text.empty())
        monitor_.CountCard();
    Log(line);
    if (const auto card = card_reads_.CardIn(chunk))
        emit cardRead(QByteArray(card->data(), static_cast<qsizetype>(card->size())), now);
    switch (ReplyByLength(chunk)) {
    case ChunkReply::None: break;
    case ChunkReply::Report: panel_.ApplyReport(*VerifiedReport(chunk)); break;
    case ChunkReply::Ack: {
        const auto *ack = reinterpret_cast<const std::uint8_t *>(chunk.data());
        if (AckSucceeded(std::span<const std::uint8_t, kAckSize>(ack, kAckSize)))
            WarnSuccess(window_, tr("设置成功"));
        else
            Warn(window_, tr("设置失败"));
        break;
    }
    }
}

} // namespace rovi
