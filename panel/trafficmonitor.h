#pragma once

class QLineEdit;
class QPushButton;
class QWidget;

namespace rovi::panel {

class LogView;

// The traffic monitor's controls below the panel, placed in the main
// window's client area: raw hex line and its send button, the hex and text
// logs, the receive counter and the clear button.
struct TrafficMonitor {
    explicit TrafficMonitor(QWidget *client);

    QLineEdit *Edit2;      // raw hexadecimal to send
    QPushButton *Button3;  // 发 送
    LogView *Memo1; // hex log
    LogView *Memo2; // text log
    QLineEdit *Edit3;      // receive counter
    QPushButton *BitBtn2;  // 清 零
};

} // namespace rovi::panel
