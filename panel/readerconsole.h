#pragma once

#include "commandrules.h"

#include "base/bytes.h"
#include "protocol/frame.h"
#include "ui/messages.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class QTimer;
class QWidget;

namespace rovi {
class TComm;
}

namespace rovi::panel {

class ParamPanel;
class TrafficFile;
class TrafficMonitor;

// The panel's commands and the traffic monitor: every button sends its
// frame through the serial component, logs it and arms the reply time-out;
// every received chunk is logged and counted, and reports and
// acknowledgements are interpreted by their length.
class ReaderConsole : public QObject {
public:
    ReaderConsole(QWidget *window, ParamPanel &panel, TrafficMonitor &monitor, TComm &comm);
    ~ReaderConsole() override;

    QTimer *Timer_wait; // one second reply time-out, single shot

    // Button handlers.
    void Button2Click(); // 出厂设置
    void BitBtn1Click(); // 全部设置
    void Button1Click(); // 查看参数
    void BitBtn_setClick(int group); // 设 置 of group 1..8
    void Button3Click(); // 发 送 (raw hex)
    void BitBtn2Click(); // 清 零

    // The receive event handler and the time-out.
    void CommReceiveData(TComm *Sender, const void *Buffer, std::uint16_t BufferLength);
    void Timer_waitTimer();

    // Hands bytes to the serial component, in requests of at most 65535 bytes.
    void SendData(const ByteString &bytes);

    // Appends every chunk sent and received to a daily file in `folder`
    // (see trafficfile.h), flushed every second; an empty folder stops it.
    void SetLogFolder(const std::string &folder);
    bool LoggingToFile() const { return file_ != nullptr; }
    void FlushLogFile();

private:
    void Send(PanelButton button);
    void SendFrame(const Frame &frame);
    void Write(std::string_view bytes, std::chrono::system_clock::time_point when);
    void ArmTimer();
    void AppendLog(const std::string &hex_line, const std::string &text_line, std::chrono::system_clock::time_point when);
    void FileChunk(std::chrono::system_clock::time_point when, bool sent, std::string_view bytes);

    QWidget *window_;
    // The one box for the messages received data raises.
    MessageSlot received_messages_;
    ParamPanel &panel_;
    TrafficMonitor &monitor_;
    TComm &comm_;
    std::unique_ptr<TrafficFile> file_;
    QTimer *flush_timer_ = nullptr;
    bool file_failed_ = false; // told once until logging is switched on again
};

} // namespace rovi::panel
