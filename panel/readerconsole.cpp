#include "readerconsole.h"

#include "parampanel.h"
#include "trafficfile.h"
#include "trafficmonitor.h"

#include "base/convert.h"
#include "protocol/hexstr.h"
#include "serial/comm.h"
#include "ui/messages.h"
#include "ui/qtext.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>


namespace rovi::panel {

namespace {

constexpr int kReplyTimeoutMs = 1000;

} // namespace

ReaderConsole::ReaderConsole(QWidget *window, ParamPanel &panel, TrafficMonitor &monitor, TComm &comm)
    : QObject(window), window_(window), panel_(panel), monitor_(monitor), comm_(comm)
{
    Timer_wait = new QTimer(this);
    Timer_wait->setObjectName(QStringLiteral("Timer_wait"));
    Timer_wait->setSingleShot(true);
    Timer_wait->setInterval(kReplyTimeoutMs);
    connect(Timer_wait, &QTimer::timeout, this, Guarded(window_, [this] { Timer_waitTimer(); }));

    auto on_click = [this](QPushButton *button, auto handler) {
        connect(button, &QPushButton::clicked, this, Guarded(window_, handler));
    };
    on_click(panel_.Button2, [this] { Button2Click(); });
    on_click(panel_.BitBtn1, [this] { BitBtn1Click(); });
    on_click(panel_.Button1, [this] { Button1Click(); });
    const auto buttons = panel_.SetButtons();
    for (int group = 1; group <= 8; ++group)
        on_click(buttons[static_cast<std::size_t>(group - 1)], [this, group] { BitBtn_setClick(group); });
    on_click(monitor_.Button3, [this] { Button3Click(); });
    on_click(monitor_.BitBtn2, [this] { BitBtn2Click(); });

    flush_timer_ = new QTimer(this);
    flush_timer_->setInterval(1000);
    connect(flush_timer_, &QTimer::timeout, this, [this] { FlushLogFile(); });

    comm_.OnReceiveData = [this](TComm *sender, const void *buffer, std::uint16_t length) {
        CommReceiveData(sender, buffer, length);
    };
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
    if (!file_ || file_->Flush() || file_failed_)
        return;
    file_failed_ = true;
    Warn(window_, QStringLiteral("无法写入记录文件 ") + ToQ(file_->PathFor(std::chrono::system_clock::now())));
}

void ReaderConsole::FileChunk(std::chrono::system_clock::time_point when, bool sent, std::string_view bytes)
{
    if (file_)
        file_->Append(when, sent, bytes);
}

void ReaderConsole::Send(PanelButton button)
{
    if (const auto frame = ComposeFor(button, panel_.Snapshot()))
        SendFrame(*frame);
}

void ReaderConsole::Button2Click() { Send(PanelButton::FactoryReset); }
void ReaderConsole::BitBtn1Click() { Send(PanelButton::SetAll); }

void ReaderConsole::Button1Click()
{
    panel_.ClearMirrors();
    Send(PanelButton::Query);
}

void ReaderConsole::BitBtn_setClick(int group)
{
    static constexpr PanelButton kSets[8] = {PanelButton::Set1, PanelButton::Set2, PanelButton::Set3,
                                             PanelButton::Set4, PanelButton::Set5, PanelButton::Set6,
                                             PanelButton::Set7, PanelButton::Set8};
    Send(kSets[group - 1]);
}

// The common send routine: the frame's bytes to the writer, its two log
// lines, the time-out.
void ReaderConsole::SendFrame(const Frame &frame)
{
    const auto now = std::chrono::system_clock::now();
    const std::string_view bytes = AsBytes(frame);
    Write(bytes, now);
    AppendLog(HexLine(bytes), TextLine(bytes), now);
    ArmTimer();
}

void ReaderConsole::SendData(const ByteString &bytes)
{
    Write(bytes, std::chrono::system_clock::now());
}

void ReaderConsole::Write(std::string_view bytes, std::chrono::system_clock::time_point when)
{
    if (!bytes.empty())
        FileChunk(when, true, bytes);
    comm_.WriteAll(bytes); // a long raw send goes whole, in order
}

void ReaderConsole::ArmTimer()
{
    if (!Timer_wait->isActive())
        Timer_wait->start();
}

void ReaderConsole::AppendLog(const std::string &hex_line, const std::string &text_line,
                              std::chrono::system_clock::time_point when)
{
    monitor_.LogChunk(ToQ(hex_line), ToQ(text_line), when);
}

void ReaderConsole::Button3Click()
{
    const std::string raw = ToStd(monitor_.Edit2->text());
    if (Trim(raw).empty())
        return;
    SendData(Hex_Str::HexToData(raw));
    ArmTimer();
}

void ReaderConsole::BitBtn2Click()
{
    monitor_.Reset();
}

void ReaderConsole::Timer_waitTimer()
{
    Timer_wait->stop();
    Warn(window_, QStringLiteral("发送失败"));
}

void ReaderConsole::CommReceiveData(TComm *, const void *Buffer, std::uint16_t BufferLength)
{
    const std::string_view chunk(static_cast<const char *>(Buffer), BufferLength);
    // Acknowledgements, and the panel's rules while a report is applied,
    // share one box that never nests.
    const MessageSlotScope one_box(received_messages_);
    // Nothing here raises an error: the counter is an integer, the lines
    // are built from any bytes, and the panel's rules that a report sets
    // off each run under their own handler wrapper.
    Timer_wait->stop();
    const auto now = std::chrono::system_clock::now();
    FileChunk(now, false, chunk);
    const std::string hex_line = HexLine(chunk);
    const std::string text_line = TextLine(chunk);
    if (!text_line.empty())
        monitor_.CountCard();
    AppendLog(hex_line, text_line, now);
    if (chunk.size() == kFrameSize) {
        if (const auto report = VerifiedReport(chunk))
            panel_.ApplyReport(*report);
    } else if (chunk.size() == kAckSize) {
        const auto *ack = reinterpret_cast<const std::uint8_t *>(chunk.data());
        Warn(window_, AckSucceeded(std::span<const std::uint8_t, kAckSize>(ack, kAckSize)) ? QStringLiteral("设置成功")
                                                                                              : QStringLiteral("设置失败"));
    }
}

} // namespace rovi::panel
