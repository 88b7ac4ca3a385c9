#pragma once

#include "protocol/trafficline.h"

#include <QAccessible>
#include <QWidget>

#include <chrono>
#include <cstdint>

class QLineEdit;
class QPushButton;

namespace rovi {
class Throttle;
}

namespace rovi::panel {

class LogView;

// The counter's text: a 32-bit count that wraps, shown signed (after
// 2,147,483,647 comes -2,147,483,648).
QString CountText(std::uint32_t count);

// The traffic monitor below the panel: the raw hex line and its send button,
// the hex and text logs, the receive counter and its clear button. The
// console feeds it through the three calls below and hears its two buttons
// through the signals. Object names: rawHexInput, sendRawButton, hexLog,
// textLog, receiveCounter, clearButton.
class TrafficMonitor : public QWidget, private QAccessible::ActivationObserver {
    Q_OBJECT
public:
    explicit TrafficMonitor(QWidget *client);
    ~TrafficMonitor() override;

    // The line in both logs: its hex in the hex log, its text in the text
    // log. While time stamps are on, the hex line starts with the time and
    // the direction ("发" sent, "收" received; a note has none).
    void Log(const TrafficLine &line);
    // One more received chunk that carried a card number (wraps as a 32-bit
    // count, shown signed). The box shows it within a refresh period.
    void CountCard();
    // 清 零: the counter to 0 and both logs empty.
    void Reset();

    // The bound on the logs' lines. The two logs keep the same chunks: when
    // the bound (or the bound on the characters both hold) is reached, the
    // oldest chunk leaves both, so line i of each is always one chunk.
    void SetLineLimit(int lines);
    int LineLimit() const { return line_limit_; }
    // The hex log's time stamps.
    void SetTimestamps(bool on) { timestamps_ = on; }
    // Both logs, line by line: hex, a tab, text.
    QString SavedText() const;

signals:
    // 发 送: the raw line as typed.
    void rawSendRequested(const QString &hex_text);
    // 清 零.
    void clearRequested();

private:
    // An accessibility client came or went: while one is there the counter
    // box is set with every card.
    void accessibilityActiveChanged(bool active) override;

    void ShowCount();

    QLineEdit *rawHexInput_;      // raw hexadecimal to send
    QPushButton *sendRawButton_;  // 发 送
    LogView *hexLog_;
    LogView *textLog_;
    QLineEdit *receiveCounter_;   // read-only
    QPushButton *clearButton_;    // 清 零

    void KeepBound();

    std::uint32_t count_ = 0;
    int line_limit_;
    bool timestamps_ = false;
    QString sent_mark_, received_mark_; // before a time-stamped line's bytes, in the window's language
    Throttle *count_paint_;
    bool accessibility_active_ = QAccessible::isActive();
};

} // namespace rovi::panel
