#include "readerconsole.h"

#include "ui/messages.h"
#include "ui/qtext.h"
#include "logview.h"
#include "parampanel.h"
#include "base/convert.h"
#include "protocol/hexstr.h"
#include "serial/comm.h"
#include "trafficmonitor.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

namespace rovi::panel {

namespace {

constexpr int kReplyTimeoutMs = 1000;
constexpr std::size_t kMaxWriteRequest = 65535;

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

    comm_.OnReceiveData = [this](TComm *sender, const void *buffer, std::uint16_t length) {
        CommReceiveData(sender, buffer, length);
    };
}

PanelSnapshot ReaderConsole::Snapshot() const
{
    PanelSnapshot s;
    const auto mirrors = panel_.Mirrors();
    for (std::size_t i = 0; i < mirrors.size(); ++i)
        s.mirrors[i] = ToStd(mirrors[i]->text());
    s.id_text = ToStd(panel_.Edit_set2->text());
    s.dip_switch = panel_.RadioButton1->isChecked();
    s.wiegand_output = panel_.RadioButton2->isChecked();
    s.wiegand_index = panel_.ComboBox_wg->currentIndex();
    s.serial_fmt_index = panel_.ComboBox3->currentIndex();
    s.baud_index = panel_.ComboBox_btl->currentIndex();
    s.external_power = panel_.RadioButton3->isChecked();
    s.software_power = panel_.RadioButton4->isChecked();
    s.power_index = panel_.ComboBox_gl->currentIndex();
    s.leave_mode = panel_.CheckBox1->isChecked();
    s.reread_unit = panel_.ComboBox1->currentIndex();
    s.reread_text = ToStd(panel_.edit4->text());
    s.send_unit = panel_.ComboBox2->currentIndex();
    s.send_text = ToStd(panel_.Edit1->text());
    return s;
}

void ReaderConsole::Send(PanelButton button)
{
    if (const auto frame = ComposeFor(button, Snapshot()))
        SendFrame(*frame);
}

void ReaderConsole::Button2Click() { Send(PanelButton::FactoryReset); }
void ReaderConsole::BitBtn1Click() { Send(PanelButton::SetAll); }

void ReaderConsole::Button1Click()
{
    for (RuleEdit *mirror : panel_.Mirrors())
        mirror->clear();
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
    SendData(ByteString(AsBytes(frame)));
    AppendLog(HexLine(AsBytes(frame)), TextLine(AsBytes(frame)));
    ArmTimer();
}

void ReaderConsole::SendData(const ByteString &bytes)
{
    // A long raw send goes whole, in order, as consecutive requests.
    for (std::size_t offset = 0; offset < bytes.size(); offset += kMaxWriteRequest) {
        const std::size_t n = std::min(kMaxWriteRequest, bytes.size() - offset);
        comm_.WriteBytes(bytes.data() + offset, static_cast<std::uint16_t>(n));
    }
}

void ReaderConsole::ArmTimer()
{
    if (!Timer_wait->isActive())
        Timer_wait->start();
}

void ReaderConsole::AppendLog(const std::string &hex_line, const std::string &text_line)
{
    monitor_.Memo1->AppendLine(ToQ(hex_line));
    monitor_.Memo2->AppendLine(ToQ(text_line));
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
    monitor_.Edit3->setText(QStringLiteral("0"));
    monitor_.Memo1->ClearLines();
    monitor_.Memo2->ClearLines();
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
    RunSilently([&] {
        Timer_wait->stop();
        const std::string hex_line = HexLine(chunk);
        const std::string text_line = TextLine(chunk);
        if (!text_line.empty()) {
            // 32-bit arithmetic that wraps, as the counter always has.
            const auto count = static_cast<std::uint32_t>(StrToInt(ToStd(monitor_.Edit3->text())));
            monitor_.Edit3->setText(QString::number(static_cast<std::int32_t>(count + 1u)));
        }
        AppendLog(hex_line, text_line);
        if (chunk.size() == kFrameSize) {
            Frame report{};
            std::copy(chunk.begin(), chunk.end(), report.begin());
            if (VerifyReport(report))
                ApplyReport(report);
        } else if (chunk.size() == kAckSize) {
            const auto *ack = reinterpret_cast<const std::uint8_t *>(chunk.data());
            Warn(window_, AckSucceeded(std::span<const std::uint8_t, kAckSize>(ack, kAckSize))
                              ? QStringLiteral("设置成功")
                              : QStringLiteral("设置失败"));
        }
    });
}

// Writes a report into the controls, field by field, so the panel's rules
// run as they change; the mirrors are written last and keep the reported bytes.
void ReaderConsole::ApplyReport(const Frame &report)
{
    const ParameterSet p = DecodeReport(report);
    ParamPanel &ui = panel_;
    if (p.id_addr)
        ui.Edit_set2->setText(QString::number(*p.id_addr));
    if (p.wiegand) {
        if (const auto *out = std::get_if<WiegandOutput>(&*p.wiegand)) {
            ui.RadioButton2->setChecked(true);
            ui.ComboBox_wg->setCurrentIndex(out->format);
        } else {
            ui.RadioButton1->setChecked(true);
        }
    }
    if (p.serial_fmt)
        ui.ComboBox3->setCurrentIndex(*p.serial_fmt);
    if (p.baud)
        ui.ComboBox_btl->setCurrentIndex(*p.baud);
    if (p.power) {
        if (const auto *sw = std::get_if<SoftwareControl>(&*p.power)) {
            ui.RadioButton4->setChecked(true);
            ui.ComboBox_gl->setCurrentIndex(sw->level);
        } else {
            ui.RadioButton3->setChecked(true);
        }
    }
    if (p.reread) {
        ui.CheckBox1->setChecked(p.reread->leave_mode);
        ui.ComboBox1->setCurrentIndex(p.reread->unit == TimeUnitReread::minutes ? 0 : 1);
        ui.edit4->setText(QString::number(p.reread->time));
    }
    if (p.send_time) {
        ui.ComboBox2->setCurrentIndex(p.send_time->unit == TimeUnitSend::seconds ? 0 : 1);
        ui.Edit1->setText(QString::number(p.send_time->time));
    }
    const FieldBytes fields = FieldBytesOf(report);
    const auto mirrors = ui.Mirrors();
    for (std::size_t i = 0; i < kFieldCount; ++i)
        mirrors[i]->setText(ToQ(IntToHex2(fields[i])));
}

} // namespace rovi::panel
