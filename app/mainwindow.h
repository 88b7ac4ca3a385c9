#pragma once

#include "portuse.h"

#include "base/language.h"
#include "protocol/frame.h"
#include "serial/seriallink.h"
#include "settings/portsettings.h"
#include "settings/tooloptions.h"

#include <QMainWindow>

#include <functional>
#include <memory>


class QAction;
class QLabel;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace rovi {

class BatchSetupDialog;
class ReaderConsole;
class Reconnector;

namespace settings {
class PortDialog;
} // namespace settings

namespace panel {
class CardTestPage;
class ParamPanel;
class TrafficMonitor;
} // namespace panel

// The main window: menu, the parameter panel on its first tab and the card
// test on the second, the traffic monitor below them and the status bar;
// fixed 792 x 546 client area.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow();
    ~MainWindow() override;

    panel::ParamPanel *Panel() const { return panel_; }
    panel::TrafficMonitor &Monitor() const { return *monitor_; }
    // 读卡测试: the page beside the panel's.
    panel::CardTestPage &CardTest() const { return *cardTest_; }
    void ShowCardTest();
    SerialLink &Link() { return link_; }
    ReaderConsole &Console() const { return *console_; }

    // The first status-bar panel (500 px); the second (50 px) stays empty.
    void SetStatusText(const QString &text);
    QString StatusText() const;
    // A hint about trouble on the line after the open port's summary, for a
    // few seconds.
    void ShowLineHint(const QString &hint);
    static constexpr int kLineHintMs = 5000;

    // The menu's actions are reached by their object names (see BuildMenu).

    // Port settings, loaded from set.ini when the window is first shown and
    // chosen in COM设置; set here, they are used by the next open, not saved.
    const settings::PortSettings &CurrentPortSettings() const { return port_settings_; }
    void SetPortSettings(const settings::PortSettings &s);

    void LoadSettingsAndAutoConnect();  // load the settings; open the port if auto-connect is set
    void ClosePortAndFlushRecord(); // close the port
    void OpenPort();   // reopen the port with the settings; status-bar summary
    void ClosePort();
    // The device went away: the port is closed, the status bar says so, and
    // with 断线自动重连 on, the port reopens when the device is back.
    void OnHungUp();
    bool Reconnecting() const;

    void ShowPortDialog();
    // COM设置's dialog, joined to the window: what it chooses becomes the
    // window's settings, and its open request opens the port with them.
    std::unique_ptr<settings::PortDialog> NewPortDialog();
    // 搜索读卡器…, and the reader it found put to use: the port and rate
    // stored and opened, the panel filled from its report.
    void ShowReaderSearch();
    void UseFoundReader(const std::string &port, int rate, const Frame &report); // port settings dialog
    void ClosePortClicked(); // close
    void ShowAbout();   // about box
    void SetReconnect(bool on);
    void SaveLogAs();
    void SaveProfile(); // 保存参数…: a file dialog, then SaveProfileTo
    void LoadProfile(); // 载入参数…: a file dialog, then LoadProfileFile
    // The panel from a profile file; what is wrong with it said in a box.
    void LoadProfileFile(const QString &path);
    // 批量设置…: the batch dialog, made once and shown beside the window.
    void ShowBatchSetup();
    BatchSetupDialog *BatchSetup() const { return batch_; }
    // The line the settings ask for (rate, parity, data and stop bits); a
    // rate that is no number throws the conversion error.
    LineSettings ConfiguredLine() const;
    void SetLogToFile(bool on);
    void SetTimestamps(bool on);
    // Shows the window in `language` and stores the choice in set.ini.
    void SetLanguage(Language language);
    // Writes both logs to a file (UTF-8, hex and text per line); false when it cannot.
    bool SaveLogTo(const QString &path, QString *why = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildMenu();
    // The status line, made again in the new language when it changes.
    void ShowStatus(std::function<QString()> make);
    void ApplyToolOptions();
    bool TryOpenPort(int *error); // opens with the settings; the summary on success
    void SaveSwitch(const settings::IniKey &key, bool on);
    // The port lent to a batch, which opens it reader after reader: closed,
    // and not watched for while lent; how it was in use before is kept.
    void LendPort();
    // The port back from a batch: opened again when it was open, watched
    // for again when it was watched for.
    void TakePortBack();
    QWidget *BuildClient();

    // 通讯设置: COM设置, 打开COM口, 关闭COM口, 搜索读卡器…, 断线自动重连 (checkable).
    QAction *portSettingsAction_;
    QAction *openPortAction_;
    QAction *closePortAction_;
    QAction *searchReaderAction_;
    QAction *reconnectAction_;
    // 记录: 保存记录…, 记录到文件 and 显示时间戳 (checkable).
    QAction *saveLogAction_;
    QAction *logFileAction_;
    QAction *timestampsAction_;
    // 参数: the panel's fields to and from a profile file, and the batch.
    QAction *saveProfileAction_;
    QAction *loadProfileAction_;
    QAction *batchSetupAction_;
    // 语言 / Language: the window's texts in Chinese or English, at once.
    QAction *chineseAction_;
    QAction *englishAction_;
    // 帮助: 关于.
    QAction *aboutAction_;

    settings::PortSettings port_settings_;
    settings::ToolOptions options_; // the tool's own options, loaded with them

    SerialLink link_;
    panel::ParamPanel *panel_ = nullptr;
    panel::TrafficMonitor *monitor_ = nullptr; // a child of the client area
    panel::CardTestPage *cardTest_ = nullptr;
    QTabWidget *pages_ = nullptr;
    ReaderConsole *console_ = nullptr;
    Reconnector *reconnector_ = nullptr;
    BatchSetupDialog *batch_ = nullptr;
    QStatusBar *statusBar_ = nullptr;
    QLabel *status_panels_[2] = {};
    bool shown_once_ = false;
    QTimer *hint_timer_ = nullptr;
    std::function<QString()> status_; // makes the status text
    QString summary_;         // the status text, without a hint
    std::string opened_port_; // the name the port was last opened by
    PortUse lent_from_ = PortUse::Idle; // how the port was in use when a batch took it
};

} // namespace rovi
