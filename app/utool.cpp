#include "utool.h"

#include "openadvice.h"
#include "reconnector.h"
#include "uabout.h"

#include "base/convert.h"
#include "panel/parampanel.h"
#include "panel/readerconsole.h"
#include "panel/trafficmonitor.h"
#include "serial/portinfo.h"
#include "settings/linechoices.h"
#include "settings/ucomset.h"
#include "ui/messages.h"
#include "ui/qtext.h"
#include "ui/windows.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QSaveFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>

namespace rovi {

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 546;
constexpr int kTopPanelHeight = 368;
constexpr int kStatusHeight = 19;

} // namespace

TFtool::TFtool()
{
    setObjectName(QStringLiteral("Ftool"));
    setWindowTitle(kAppTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(SongFont(12, true));

    // The stored form's settings of the serial component.
    comm_.SetBaudRate(19200);
    comm_.SetOutx_XonXoffFlow(false);
    comm_.SetInx_XonXoffFlow(false);

    BuildMenu();
    setCentralWidget(BuildClient());
    console_ = new panel::ReaderConsole(this, *panel_, *monitor_, comm_);
    reconnector_ = new Reconnector(this, [this] { return StartCom(nullptr); });
    comm_.OnRequestHangup = [this](TComm *) { RunHandler(this, [this] { CommRequestHangup(); }); };
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TFtool::~TFtool() = default;

void TFtool::BuildMenu()
{
    QMenu *comm_menu = menuBar()->addMenu(QStringLiteral("通讯设置"));
    COM1 = comm_menu->addAction(QStringLiteral("COM设置"));
    N2 = comm_menu->addAction(QStringLiteral("打开COM口"));
    COM2 = comm_menu->addAction(QStringLiteral("关闭COM口"));
    comm_menu->addSeparator();
    N_reconnect = comm_menu->addAction(QStringLiteral("断线自动重连"));
    N_reconnect->setCheckable(true);
    N_reconnect->setChecked(options.reconnect);
    QMenu *record_menu = menuBar()->addMenu(QStringLiteral("记录"));
    N_savelog = record_menu->addAction(QStringLiteral("保存记录…"));
    N_logfile = record_menu->addAction(QStringLiteral("记录到文件"));
    N_logfile->setCheckable(true);
    N_timestamps = record_menu->addAction(QStringLiteral("显示时间戳"));
    N_timestamps->setCheckable(true);
    QMenu *help_menu = menuBar()->addMenu(QStringLiteral("帮助"));
    N5 = help_menu->addAction(QStringLiteral("关于"));
    COM1->setObjectName(QStringLiteral("COM1"));
    N2->setObjectName(QStringLiteral("N2"));
    COM2->setObjectName(QStringLiteral("COM2"));
    N5->setObjectName(QStringLiteral("N5"));
    auto on_menu = [this](QAction *item, void (TFtool::*handler)()) {
        connect(item, &QAction::triggered, this, Guarded(this, [this, handler] { (this->*handler)(); }));
    };
    on_menu(COM1, &TFtool::COM1Click);
    on_menu(N2, &TFtool::N2Click);
    on_menu(COM2, &TFtool::COM2Click);
    on_menu(N5, &TFtool::N5Click);
    on_menu(N_savelog, &TFtool::SaveLogClick);
    auto on_switch = [this](QAction *item, void (TFtool::*handler)(bool)) {
        connect(item, &QAction::triggered, this, [this, handler](bool on) { RunHandler(this, [=, this] { (this->*handler)(on); }); });
    };
    on_switch(N_reconnect, &TFtool::ReconnectClick);
    on_switch(N_logfile, &TFtool::LogFileClick);
    on_switch(N_timestamps, &TFtool::TimestampsClick);
}

QWidget *TFtool::BuildClient()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(kClientWidth, kClientHeight);

    auto *top = new QWidget(client);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setGeometry(0, 0, kClientWidth, kTopPanelHeight);
    auto *pages = new QTabWidget(top);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->setGeometry(0, 0, kClientWidth, kTopPanelHeight);
    auto *sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("TabSheet1"));
    pages->addTab(sheet, QStringLiteral("F1"));
    panel_ = new panel::ParamPanel(sheet);
    panel_->setGeometry(4, -3, 775, 338);

    monitor_ = new panel::TrafficMonitor(client);

    StatusBar1 = new QStatusBar(client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
    const int widths[2] = {500, 50};
    for (int i = 0; i < 2; ++i) {
        status_panels_[i] = new QLabel(StatusBar1);
        status_panels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        status_panels_[i]->setFixedWidth(widths[i]);
        status_panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(status_panels_[i]);
    }
    // Its text is what a screen reader reads out; the description says what it is.
    status_panels_[0]->setAccessibleDescription(QStringLiteral("串口状态"));
    return client;
}

void TFtool::SetStatusText(const QString &text)
{
    status_panels_[0]->setText(text);
}

QString TFtool::StatusText() const
{
    return status_panels_[0]->text();
}

void TFtool::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shown_once_)
        return;
    shown_once_ = true;
    RunHandler(this, [this] { FormShow(); });
}

void TFtool::closeEvent(QCloseEvent *event)
{
    RunHandler(this, [this] { FormClose(); });
    QMainWindow::closeEvent(event);
}

void TFtool::FormShow()
{
    const settings::StoredSettings stored = settings::LoadStoredSettings(settings::kIniPath);
    com = stored.com;
    options = stored.options;
    ApplyToolOptions();
    if (com.com_auto > 0)
        OpenCom();
}

void TFtool::ApplyToolOptions()
{
    N_reconnect->setChecked(options.reconnect);
    N_logfile->setChecked(options.log_to_file);
    N_timestamps->setChecked(options.timestamps);
    monitor_->SetLineLimit(options.log_lines);
    monitor_->SetTimestamps(options.timestamps);
    console_->SetLogFolder(options.log_to_file ? QDir::currentPath().toStdString() : std::string());
}

void TFtool::FormClose()
{
    CloseCom();
    console_->FlushLogFile();
}

bool TFtool::StartCom(int *error)
{
    comm_.SetCommName(com.com_port);
    comm_.SetBaudRate(static_cast<std::uint32_t>(StrToInt(com.com_btl)));
    if (const auto parity = settings::ChoiceAt(settings::kParityChoices, com.com_jyw))
        comm_.SetParity(parity->value);
    if (const auto data = settings::ChoiceAt(settings::kDataBitsChoices, com.com_data))
        comm_.SetByteSize(data->value);
    if (const auto stop = settings::ChoiceAt(settings::kStopBitsChoices, com.com_tzw))
        comm_.SetStopBits(stop->value);
    try {
        comm_.StopPort();
        comm_.StartPort();
        SetStatusText(ToQ(settings::StatusSummary(com)));
        return true;
    } catch (const ECommsError &e) {
        if (error)
            *error = e.Errno();
        return false;
    }
}

void TFtool::OpenCom()
{
    reconnector_->Stop();
    int error = 0;
    if (StartCom(&error))
        return;
    SetStatusText(QString());
    // The message, and below it why the open failed and what to do.
    const std::string advice = OpenFailureAdvice(DiagnoseOpenFailure(com.com_port, error));
    ShowMessage({this, QStringLiteral("提示"), QStringLiteral("串口打开失败或者此串口已经被占用\n") + ToQ(advice),
                 MessageIcon::None});
}

void TFtool::CloseCom()
{
    comm_.StopPort();
}

void TFtool::CommRequestHangup()
{
    const std::string port = comm_.CommName();
    CloseCom();
    SetStatusText(ToQ("串口:" + port + " 已断开"));
    if (options.reconnect)
        reconnector_->Watch(port);
}

bool TFtool::Reconnecting() const
{
    return reconnector_->Watching();
}

void TFtool::COM1Click()
{
    settings::TFcomset dialog(this, com, [this] { OpenCom(); });
    dialog.exec();
}

void TFtool::N2Click()
{
    OpenCom();
}

void TFtool::COM2Click()
{
    reconnector_->Stop(); // closed by hand: no reconnecting
    CloseCom();
}

void TFtool::SaveSwitch(const settings::IniKey &key, bool on)
{
    settings::SaveToolSwitch(settings::kIniPath, key, on);
}

void TFtool::ReconnectClick(bool on)
{
    options.reconnect = on;
    if (!on)
        reconnector_->Stop();
    SaveSwitch(settings::kKeyReconnect, on);
}

void TFtool::LogFileClick(bool on)
{
    options.log_to_file = on;
    console_->SetLogFolder(on ? QDir::currentPath().toStdString() : std::string());
    SaveSwitch(settings::kKeyLogFile, on);
}

void TFtool::TimestampsClick(bool on)
{
    options.timestamps = on;
    monitor_->SetTimestamps(on);
    SaveSwitch(settings::kKeyTimestamps, on);
}

void TFtool::SaveLogClick()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("保存记录"), QStringLiteral("记录.txt"),
                                                      QStringLiteral("文本文件 (*.txt);;所有文件 (*)"));
    if (!path.isEmpty() && !SaveLogTo(path))
        Warn(this, QStringLiteral("无法写入 ") + path);
}

bool TFtool::SaveLogTo(const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(monitor_->SavedText().toUtf8());
    return file.commit();
}

void TFtool::N5Click()
{
    TFabout about(this);
    about.exec();
}

} // namespace rovi
