#pragma once

#include "serial/comm.h"
#include "settings/portsettings.h"

#include <QMainWindow>


class QAction;
class QLabel;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace rovi {

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

    // Port settings, loaded from set.ini when the window is first shown.
    settings::PortSettings com;

    void FormShow();  // load the settings; open the port if auto-connect is set
    void FormClose(); // close the port
    void OpenCom();   // reopen the port with the settings; status-bar summary
    void CloseCom();

    void COM1Click(); // port settings dialog
    void N2Click();   // open
    void COM2Click(); // close
    void N5Click();   // about box

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildMenu();
    QWidget *BuildClient();

    TComm comm_;
    panel::ParamPanel *panel_ = nullptr;
    panel::TrafficMonitor *monitor_ = nullptr; // a child of the client area
    panel::ReaderConsole *console_ = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *status_panels_[2] = {};
    bool shown_once_ = false;
};

} // namespace rovi
