#include "mainwindow.h"

#include "openadvice.h"
#include "batchsetupdialog.h"
#include "profilefile.h"
#include "linetrouble.h"
#include "readersearchdialog.h"
#include "reconnector.h"
#include "aboutdialog.h"

#include "base/convert.h"
#include "panel/cardtestpage.h"
#include "panel/parampanel.h"
#include "app/readerconsole.h"
#include "panel/trafficmonitor.h"
#include "serial/netport.h"
#include "serial/portinfo.h"
#include "settings/linechoices.h"
#include "settings/portdialog.h"
#include "ui/messages.h"
#include "ui/qtext.h"
#include "ui/dialogframe.h"
#include "ui/retranslate.h"
#include "ui/savefile.h"
#include "ui/translation.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

namespace rovi {

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 546;
constexpr int kTopPanelHeight = 368;
constexpr int kStatusHeight = 19;

} // namespace

MainWindow::MainWindow()
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(kAppTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(SongFont(12, true));

    // The rest comes from set.ini when the port is opened.
    link_.SetLineSettings(ReaderLine(19200));

    BuildMenu();
    setCentralWidget(BuildClient());
    console_ = new ReaderConsole(this, *panel_, *monitor_, link_);
    connect(console_, &ReaderConsole::cardRead, cardTest_,
            [this](const QByteArray &card, std::chrono::system_clock::time_point when) {
                cardTest_->AddRead(std::string_view(card.constData(), static_cast<std::size_t>(card.size())), when);
            });
    reconnector_ = new Reconnector(this, [this] { return TryOpenPort(nullptr); });
    connect(&link_, &SerialLink::hungUp, this, Guarded(this, [this] { OnHungUp(); }));
    connect(&link_, &SerialLink::lineError, this, [this](quint32 flags) { ShowLineHint(ToQ(LineErrorHint(flags))); });
    connect(&link_, &SerialLink::modemChanged, this, [this](quint32 bits) {
        if (bits & ModemChange::CarrierDetect)
            ShowLineHint(ToQ(Translated("LineTrouble", kCarrierHint)));
    });
    hint_timer_ = new QTimer(this);
    hint_timer_->setSingleShot(true);
    hint_timer_->setInterval(kLineHintMs);
    connect(hint_timer_, &QTimer::timeout, this, [this] {
        if (link_.IsOpen())
            status_panels_[0]->setText(summary_); // the summary stays said in the window's language
    });
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() = default;

void MainWindow::ShowCardTest()
{
    pages_->setCurrentWidget(cardTest_);
}

void MainWindow::BuildMenu()
{
    QMenu *comm_menu = menuBar()->addMenu(QString());
    portSettingsAction = comm_menu->addAction(QString());
    openPortAction = comm_menu->addAction(QString());
    closePortAction = comm_menu->addAction(QString());
    searchReaderAction = comm_menu->addAction(QString());
    comm_menu->addSeparator();
    reconnectAction = comm_menu->addAction(QString());
    reconnectAction->setCheckable(true);
    reconnectAction->setChecked(options.reconnect);
    QMenu *record_menu = menuBar()->addMenu(QString());
    saveLogAction = record_menu->addAction(QString());
    logFileAction = record_menu->addAction(QString());
    logFileAction->setCheckable(true);
    timestampsAction = record_menu->addAction(QString());
    timestampsAction->setCheckable(true);
    QMenu *profile_menu = menuBar()->addMenu(QString());
    saveProfileAction = profile_menu->addAction(QString());
    loadProfileAction = profile_menu->addAction(QString());
    batchSetupAction = profile_menu->addAction(QString());
    batchSetupAction->setObjectName(QStringLiteral("batchSetupAction"));
    saveProfileAction->setObjectName(QStringLiteral("saveProfileAction"));
    loadProfileAction->setObjectName(QStringLiteral("loadProfileAction"));
    QMenu *help_menu = menuBar()->addMenu(QString());
    aboutAction = help_menu->addAction(QString());
    portSettingsAction->setObjectName(QStringLiteral("portSettingsAction"));
    openPortAction->setObjectName(QStringLiteral("openPortAction"));
    closePortAction->setObjectName(QStringLiteral("closePortAction"));
    aboutAction->setObjectName(QStringLiteral("aboutAction"));
    Retranslated(this, [=, this] {
        comm_menu->setTitle(tr("通讯设置"));
        portSettingsAction->setText(tr("COM设置"));
        openPortAction->setText(tr("打开COM口"));
        closePortAction->setText(tr("关闭COM口"));
        searchReaderAction->setText(tr("搜索读卡器…"));
        reconnectAction->setText(tr("断线自动重连"));
        record_menu->setTitle(tr("记录"));
        saveLogAction->setText(tr("保存记录…"));
        logFileAction->setText(tr("记录到文件"));
        timestampsAction->setText(tr("显示时间戳"));
        profile_menu->setTitle(tr("参数"));
        saveProfileAction->setText(tr("保存参数…"));
        loadProfileAction->setText(tr("载入参数…"));
        batchSetupAction->setText(tr("批量设置…"));
        help_menu->setTitle(tr("帮助"));
        aboutAction->setText(tr("关于"));
    });
    // Named in both languages, so either reader finds the way back.
    auto *language_menu = new QMenu(QStringLiteral("语言 / Language"), menuBar());
    menuBar()->insertMenu(help_menu->menuAction(), language_menu); // Help stays last
    language_menu->setObjectName(QStringLiteral("languageMenu"));
    auto *languages = new QActionGroup(this);
    chineseAction = languages->addAction(QStringLiteral("中文"));
    englishAction = languages->addAction(QStringLiteral("English"));
    chineseAction->setObjectName(QStringLiteral("chineseAction"));
    englishAction->setObjectName(QStringLiteral("englishAction"));
    for (QAction *choice : {chineseAction, englishAction}) {
        choice->setCheckable(true);
        language_menu->addAction(choice);
    }
    (CurrentLanguage() == Language::English ? englishAction : chineseAction)->setChecked(true);
    connect(chineseAction, &QAction::triggered, this, Guarded(this, [this] { SetLanguage(Language::Chinese); }));
    connect(englishAction, &QAction::triggered, this, Guarded(this, [this] { SetLanguage(Language::English); }));
    auto on_menu = [this](QAction *item, void (MainWindow::*handler)()) {
        connect(item, &QAction::triggered, this, Guarded(this, [this, handler] { (this->*handler)(); }));
    };
    on_menu(portSettingsAction, &MainWindow::ShowPortDialog);
    on_menu(searchReaderAction, &MainWindow::ShowReaderSearch);
    on_menu(openPortAction, &MainWindow::OpenPort);
    on_menu(closePortAction, &MainWindow::ClosePortClicked);
    on_menu(aboutAction, &MainWindow::ShowAbout);
    on_menu(saveLogAction, &MainWindow::SaveLogAs);
    on_menu(saveProfileAction, &MainWindow::SaveProfile);
    on_menu(loadProfileAction, &MainWindow::LoadProfile);
    on_menu(batchSetupAction, &MainWindow::ShowBatchSetup);
    auto on_switch = [this](QAction *item, void (MainWindow::*handler)(bool)) {
        connect(item, &QAction::triggered, this, [this, handler](bool on) { RunHandler(this, [=, this] { (this->*handler)(on); }); });
    };
    on_switch(reconnectAction, &MainWindow::SetReconnect);
    on_switch(logFileAction, &MainWindow::SetLogToFile);
    on_switch(timestampsAction, &MainWindow::SetTimestamps);
}

QWidget *MainWindow::BuildClient()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->setFixedSize(kClientWidth, kClientHeight);

    auto *top = new QWidget(client);
    top->setObjectName(QStringLiteral("topPanel"));
    top->setGeometry(0, 0, kClientWidth, kTopPanelHeight);
    auto *pages = pages_ = new QTabWidget(top);
    pages->setObjectName(QStringLiteral("pages"));
    pages->setGeometry(0, 0, kClientWidth, kTopPanelHeight);
    auto *sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("settingsPage"));
    pages->addTab(sheet, QStringLiteral("F1"));
    panel_ = new panel::ParamPanel(sheet);
    panel_->setGeometry(4, -3, 775, 338);
    cardTest_ = new panel::CardTestPage(pages);
    pages->addTab(cardTest_, QString());
    Retranslated(cardTest_, [pages, this] { pages->setTabText(pages->indexOf(cardTest_), tr("读卡测试")); });

    monitor_ = new panel::TrafficMonitor(client);

    statusBar_ = new QStatusBar(client);
    statusBar_->setObjectName(QStringLiteral("statusBar"));
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
    const int widths[2] = {500, 50};
    for (int i = 0; i < 2; ++i) {
        status_panels_[i] = new QLabel(statusBar_);
        status_panels_[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        status_panels_[i]->setFixedWidth(widths[i]);
        status_panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar_->addWidget(status_panels_[i]);
    }
    // Its text is what a screen reader reads out; the description says what it is.
    Retranslated(status_panels_[0], [this] {
        status_panels_[0]->setAccessibleDescription(tr("串口状态"));
        if (status_)
            ShowStatus(status_); // said again in the new language (a hint on it goes)
    });
    return client;
}

void MainWindow::SetStatusText(const QString &text)
{
    ShowStatus([text] { return text; });
}

void MainWindow::ShowStatus(std::function<QString()> make)
{
    hint_timer_->stop();
    status_ = std::move(make);
    summary_ = status_();
    status_panels_[0]->setText(summary_);
}

void MainWindow::SetLanguage(Language language)
{
    UseLanguage(language);
    (language == Language::English ? englishAction : chineseAction)->setChecked(true);
    options.language = language;
    settings::SaveLanguage(settings::kIniPath, language);
}

void MainWindow::ShowLineHint(const QString &hint)
{
    if (!link_.IsOpen())
        return;
    status_panels_[0]->setText(summary_ + tr("　", "between the status and a hint") + hint);
    hint_timer_->start();
}

QString MainWindow::StatusText() const
{
    return status_panels_[0]->text();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shown_once_)
        return;
    shown_once_ = true;
    RunHandler(this, [this] { LoadSettingsAndAutoConnect(); });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    RunHandler(this, [this] { ClosePortAndFlushRecord(); });
    QMainWindow::closeEvent(event);
}

void MainWindow::LoadSettingsAndAutoConnect()
{
    const settings::StoredSettings stored = settings::LoadStoredSettings(settings::kIniPath);
    portSettings = stored.com;
    options = stored.options;
    ApplyToolOptions();
    if (portSettings.autoConnect > 0)
        OpenPort();
}

void MainWindow::ApplyToolOptions()
{
    reconnectAction->setChecked(options.reconnect);
    logFileAction->setChecked(options.log_to_file);
    timestampsAction->setChecked(options.timestamps);
    monitor_->SetLineLimit(options.log_lines);
    monitor_->SetTimestamps(options.timestamps);
    console_->SetLogFolder(options.log_to_file ? QDir::currentPath().toStdString() : std::string());
}

void MainWindow::ClosePortAndFlushRecord()
{
    ClosePort();
    console_->FlushLogFile();
}

LineSettings MainWindow::ConfiguredLine() const
{
    LineSettings line = link_.Line();
    line.baudRate = static_cast<std::uint32_t>(StrToInt(portSettings.baud));
    if (const auto parity = settings::ChoiceAt(settings::kParityChoices, portSettings.parity))
        line.parity = parity->value;
    if (const auto data = settings::ChoiceAt(settings::kDataBitsChoices, portSettings.dataBits))
        line.dataBits = data->value;
    if (const auto stop = settings::ChoiceAt(settings::kStopBitsChoices, portSettings.stopBits))
        line.stopBits = stop->value;
    return line;
}

bool MainWindow::TryOpenPort(int *error)
{
    link_.SetPortName(portSettings.port);
    link_.SetLineSettings(ConfiguredLine());
    try {
        link_.StopPort();
        link_.StartPort();
        ShowStatus([summary = portSettings] { return ToQ(settings::StatusSummary(summary)); });
        opened_port_ = portSettings.port;
        return true;
    } catch (const SerialError &e) {
        if (error)
            *error = e.Errno();
        return false;
    }
}

void MainWindow::OpenPort()
{
    reconnector_->Stop();
    int error = 0;
    if (TryOpenPort(&error))
        return;
    SetStatusText(QString());
    // The message, and below it why the open failed and what to do.
    const std::string advice = OpenFailureAdvice(DiagnoseOpenFailure(portSettings.port, error));
    ShowMessage({this, tr("提示"), tr("串口打开失败或者此串口已经被占用") + QLatin1Char('\n') + ToQ(advice),
                 MessageIcon::None});
}

void MainWindow::ClosePort()
{
    link_.StopPort();
}

void MainWindow::OnHungUp()
{
    const std::string port = link_.PortName();
    ClosePort();
    if (options.reconnect)
        reconnector_->Watch(port);
    const bool backing_off = reconnector_->BackingOff();
    ShowStatus([port = ToQ(port), backing_off] {
        return backing_off ? tr("串口:%1 已断开（反复断开，5 秒后再试）").arg(port) : tr("串口:%1 已断开").arg(port);
    });
}

bool MainWindow::Reconnecting() const
{
    return reconnector_->Watching();
}

PortUse MainWindow::LendPort()
{
    const PortUse before = link_.IsOpen() ? PortUse::Open : reconnector_->Watching() ? PortUse::Watched : PortUse::Idle;
    reconnector_->Stop();
    ClosePort();
    return before;
}

void MainWindow::TakePortBack(PortUse before)
{
    if (before == PortUse::Open)
        OpenPort();
    else if (before == PortUse::Watched && options.reconnect)
        reconnector_->Watch(portSettings.port);
}

void MainWindow::ShowReaderSearch()
{
    std::optional<int> last_rate;
    if (const int rate = StrToIntDef(portSettings.baud, 0); rate > 0)
        last_rate = rate;
    // A device server named in the settings is searched too.
    const QString server = LooksLikeNetPort(portSettings.port) ? ToQ(portSettings.port) : QString();
    ReaderSearchDialog dialog(this, link_.IsOpen() ? ToQ(link_.PortName()) : QString(), last_rate, server);
    connect(&dialog, &ReaderSearchDialog::useReader, this,
            [this](const QString &port, int rate, const Frame &report) {
                RunHandler(this, [&] { UseFoundReader(ToStd(port), rate, report); });
            });
    dialog.exec();
}

void MainWindow::UseFoundReader(const std::string &port, int rate, const Frame &report)
{
    reconnector_->Stop();
    ClosePort();
    // Stored as the port dialog stores them, the other settings as they were.
    portSettings.port = port;
    portSettings.baud = std::to_string(rate);
    settings::SavePortSettings(settings::kIniPath, portSettings, portSettings.autoConnect > 0);
    OpenPort();
    // The panel as a query's answer would fill it.
    panel_->ApplyReport(report);
}

void MainWindow::ShowPortDialog()
{
    settings::PortDialog dialog(this, portSettings, [this] { OpenPort(); });
    dialog.exec();
}

void MainWindow::ClosePortClicked()
{
    const bool was_in_use = link_.IsOpen() || reconnector_->Watching();
    reconnector_->Stop(); // closed by hand: no reconnecting
    ClosePort();
    if (was_in_use)
        ShowStatus([port = ToQ(opened_port_)] { return tr("串口:%1 已关闭").arg(port); });
}

void MainWindow::SaveSwitch(const settings::IniKey &key, bool on)
{
    settings::SaveToolSwitch(settings::kIniPath, key, on);
}

void MainWindow::SetReconnect(bool on)
{
    options.reconnect = on;
    if (!on)
        reconnector_->Stop();
    SaveSwitch(settings::kKeyReconnect, on);
}

void MainWindow::SetLogToFile(bool on)
{
    options.log_to_file = on;
    console_->SetLogFolder(on ? QDir::currentPath().toStdString() : std::string());
    SaveSwitch(settings::kKeyLogFile, on);
}

void MainWindow::SetTimestamps(bool on)
{
    options.timestamps = on;
    monitor_->SetTimestamps(on);
    SaveSwitch(settings::kKeyTimestamps, on);
}

void MainWindow::SaveLogAs()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("保存记录"), tr("记录.txt"),
                                                      tr("文本文件 (*.txt);;所有文件 (*)"));
    QString why;
    if (!path.isEmpty() && !SaveLogTo(path, &why))
        Warn(this, tr("无法写入 %1").arg(path) + (why.isEmpty() ? QString() : QLatin1Char('\n') + why));
}

bool MainWindow::SaveLogTo(const QString &path, QString *why)
{
    QString reason;
    const QByteArray bytes = monitor_->SavedText().toUtf8();
    if (SaveWholeFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &reason))
        return true;
    if (why)
        *why = reason;
    return false;
}

void MainWindow::SaveProfile()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("保存参数"), tr("参数.rovi"), ProfileFilter());
    QString why;
    if (!path.isEmpty() && !SaveProfileTo(*panel_, path, &why))
        Warn(this, why);
}

void MainWindow::LoadProfile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("载入参数"), QString(), ProfileFilter());
    if (!path.isEmpty())
        LoadProfileFile(path);
}

void MainWindow::LoadProfileFile(const QString &path)
{
    QString why;
    if (!LoadProfileFrom(*panel_, path, &why))
        Warn(this, tr("参数文件有误，面板未改动：") + QLatin1Char('\n') + why);
}

void MainWindow::ShowBatchSetup()
{
    if (!batch_)
        batch_ = new BatchSetupDialog(*this);
    batch_->show();
    batch_->raise();
    batch_->activateWindow();
}

void MainWindow::ShowAbout()
{
    AboutDialog about(this);
    about.exec();
}

} // namespace rovi
