#pragma once

#include "serial/comm.h"
#include "settings/portsettings.h"
#include "settings/tooloptions.h"

#include <QMainWindow>


class QAction;
class QLabel;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace rovi {

class Reconnector;

namespace panel {
class ParamPanel;
class ReaderConsole;
class TrafficMonitor;
} // namespace panel

// The main window: menu, the parameter panel on its one tab, the traffic
// monitor below it and the status bar; fixed 792 x 546 client area.
class TFtool : public QMainWindow {
public:
    TFtool();
    ~TFtool() override;

    panel::ParamPanel *Panel() const { return panel_; }
    panel::TrafficMonitor &Monitor() const { return *monitor_; }
    TComm &Comm() { return comm_; }
    panel::ReaderConsole &Console() const { return *console_; }

    // The first status-bar panel (500 px); the second (50 px) stays empty.
    void SetStatusText(const QString &text);
    QString StatusText() const;

    QAction *COM1; // COM设置
    QAction *N2;   // 打开COM口
    QAction *COM2; // 关闭COM口
    QAction *N5;   // 关于
    // Beside the original menu: reconnecting and the traffic record.
    QAction *N_reconnect;  // 断线自动重连 (checkable)
    QAction *N_savelog;    // 保存记录…
    QAction *N_logfile;    // 记录到文件 (checkable)
    QAction *N_timestamps; // 显示时间戳 (checkable)

    // Port settings, loaded from set.ini when the window is first shown.
    settings::PortSettings com;
    // The tool's own options, loaded with them.
    settings::ToolOptions options;

    void FormShow();  // load the settings; open the port if auto-connect is set
    void FormClose(); // close the port
    void OpenCom();   // reopen the port with the settings; status-bar summary
    void CloseCom();
    // The device went away: the port is closed, the status bar says so, and
    // with 断线自动重连 on, the port reopens when the device is back.
    void CommRequestHangup();
    bool Reconnecting() const;

    void COM1Click(); // port settings dialog
    void N2Click();   // open
    void COM2Click(); // close
    void N5Click();   // about box
    void ReconnectClick(bool on);
    void SaveLogClick();
    void LogFileClick(bool on);
    void TimestampsClick(bool on);
    // Writes both logs to a file (UTF-8, hex and text per line); false when it cannot.
    bool SaveLogTo(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildMenu();
    void ApplyToolOptions();
    bool StartCom(int *error); // opens with the settings; the summary on success
    void SaveSwitch(const settings::IniKey &key, bool on);
    QWidget *BuildClient();

    TComm comm_;
    panel::ParamPanel *panel_ = nullptr;
    panel::TrafficMonitor *monitor_ = nullptr; // a child of the client area
    panel::ReaderConsole *console_ = nullptr;
    Reconnector *reconnector_ = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *status_panels_[2] = {};
    bool shown_once_ = false;
};

} // namespace rovi
