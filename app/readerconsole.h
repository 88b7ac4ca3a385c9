#pragma once

#include "linetrouble.h"

#include "base/bytes.h"
#include "panel/commandrules.h"
#include "panel/trafficmonitor.h"
#include "protocol/cardread.h"
#include "protocol/frame.h"
#include "protocol/trafficline.h"
#include "ui/messages.h"

#include <QByteArray>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class QTimer;
class QWidget;

namespace rovi {

class SerialLink;

class TrafficFile;

namespace panel {
class ParamPanel;
} // namespace panel

// Joins the panel and the traffic monitor to the serial link: every command
// the user asks for goes out as its frame, is logged and arms the reply
// time-out; every received chunk is logged and counted, reports and
// acknowledgements are interpreted by their length, and the other chunks
// are told as card reads (CardReadRule).
class ReaderConsole : public QObject {
    Q_OBJECT

public:
    ReaderConsole(QWidget *window, panel::ParamPanel &panel, panel::TrafficMonitor &monitor, SerialLink &link);
    ~ReaderConsole() override;

    // The user's commands.
    void FactoryReset();                       // 出厂设置
    void SetAll();                             // 全部设置
    void Query();                              // 查看参数
    void SetField(Field field);                // a group's 设 置
    void SendRaw(const QString &hex_text);     // 发 送
    void ClearTraffic();                       // 清 零

    // A chunk from the reader, and the reply time-out.
    void HandleChunk(const QByteArray &chunk);
    // Trouble on the line: a line shown in both logs and the record file,
    // once per burst of errors; the counter is not touched.
    void HandleLineError(std::uint32_t flags);
    void HandleModemChange(std::uint32_t bits);
    void OnReplyTimeout();

    // Hands bytes to the link, in requests of at most 65535 bytes.
    void SendData(const ByteString &bytes);

    // Appends every chunk sent and received to a daily file in `folder`
    // (see trafficfile.h), flushed every second; an empty folder stops it.
    void SetLogFolder(const std::string &folder);
    bool LoggingToFile() const { return file_ != nullptr; }
    void FlushLogFile();

signals:
    // A chunk that is a card read: the card's bytes (see CardReadRule).
    void cardRead(const QByteArray &card, std::chrono::system_clock::time_point when);

private:
    void SendFrame(const std::optional<Frame> &frame);
    void ArmTimer();
    // The line in both logs and the record file.
    void Log(const TrafficLine &line);
    void LogNote(const std::string &note);

    QWidget *window_;
    // The one box for the messages received data raises.
    MessageSlot received_messages_;
    panel::ParamPanel &panel_;
    panel::TrafficMonitor &monitor_;
    SerialLink &link_;
    QTimer *reply_timer_; // one second reply time-out, single shot
    std::unique_ptr<TrafficFile> file_;
    QTimer *flush_timer_ = nullptr;
    bool file_failed_ = false; // told once until the file has been written again
    LineErrorBursts error_bursts_;
    CardReadRule card_reads_;
};

} // namespace rovi
