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

    BuildMenu();
    setCentralWidget(BuildClient());
    console_ = new ReaderConsole(this, *panel_, *monitor_, link_);
    connect(console_, &ReaderConsole::cardRead, cardTest_,
            [this](const QByteArray &card, std::chrono::system_clock::time_point when) {
                cardTest_->AddRead(ViewOf(card), when);
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
    portSettingsAction_ = comm_menu->addAction(QString());
    openPortAction_ = comm_menu->addAction(QString());
    closePortAction_ = comm_menu->addAction(QString());
    searchReaderAction_ = comm_menu->addAction(QString());
    comm_menu->addSeparator();
    reconnectAction_ = comm_menu->addAction(QString());
    reconnectAction_->setCheckable(true);
    reconnectAction_->setChecked(options_.reconnect);
    QMenu *record_menu = menuBar()->addMenu(QString());
    saveLogAction_ = record_menu->addAction(QString());
    logFileAction_ = record_menu->addAction(QString());
    logFileAction_->setCheckable(true);
    timestampsAction_ = record_menu->addAction(QString());
    timestampsAction_->setCheckable(true);
    QMenu *profile_menu = menuBar()->addMenu(QString());
    saveProfileAction_ = profile_menu->addAction(QString());
    loadProfileAction_ = profile_menu->addAction(QString());
    batchSetupAction_ = profile_menu->addAction(QString());
    QMenu *help_menu = menuBar()->addMenu(QString());
    aboutAction_ = help_menu->addAction(QString());
    const std::pair<QAction *, const char *> names[] = {
        {portSettingsAction_, "portSettingsAction"}, {openPortAction_, "openPortAction"},
        {closePortAction_, "closePortAction"},       {searchReaderAction_, "searchReaderAction"},
        {reconnectAction_, "reconnectAction"},       {saveLogAction_, "saveLogAction"},
        {logFileAction_, "logFileAction"},           {timestampsAction_, "timestampsAction"},
        {saveProfileAction_, "saveProfileAction"},   {loadProfileAction_, "loadProfileAction"},
        {batchSetupAction_, "batchSetupAction"},     {aboutAction_, "aboutAction"}};
    for (const auto &[action, name] : names)
        action->setObjectName(QLatin1String(name));
    Retranslated(this, [=, this] {
        comm_menu->setTitle(tr("通讯设置"));
        portSettingsAction_->setText(tr("COM设置"));
        openPortAction_->setText(tr("打开COM口"));
        closePortAction_->setText(tr("关闭COM口"));
        searchReaderAction_->setText(tr("搜索读卡器…"));
        reconnectAction_->setText(tr("断线自动重连"));
        record_menu->setTitle(tr("记录"));
        saveLogAction_->setText(tr("保存记录…"));
        logFileAction_->setText(tr("记录到文件"));
        timestampsAction_->setText(tr("显示时间戳"));
        profile_menu->setTitle(tr("参数"));
        saveProfileAction_->setText(tr("保存参数…"));
        loadProfileAction_->setText(tr("载入参数…"));
        batchSetupAction_->setText(tr("批量设置…"));
        help_menu->setTitle(tr("帮助"));
        aboutAction_->setText(tr("关于"));
    });
    // Named in both languages, so either reader finds the way back.
    auto *language_menu = new QMenu(QStringLiteral("语言 / Language"), menuBar());
    menuBar()->insertMenu(help_menu->menuAction(), language_menu); // Help stays last
    language_menu->setObjectName(QStringLiteral("languageMenu"));
    auto *languages = new QActionGroup(this);
    chineseAction_ = languages->addAction(QStringLiteral("中文"));
    englishAction_ = languages->addAction(QStringLiteral("English"));
    chineseAction_->setObjectName(QStringLiteral("chineseAction"));
    englishAction_->setObjectName(QStringLiteral("englishAction"));
    for (QAction *choice : {chineseAction_, englishAction_}) {
        choice->setCheckable(true);
        language_menu->addAction(choice);
    }
    (CurrentLanguage() == Language::English ? englishAction_ : chineseAction_)->setChecked(true);
    connect(chineseAction_, &QAction::triggered, this, Guarded(this, [this] { SetLanguage(Language::Chinese); }));
    connect(englishAction_, &QAction::triggered, this, Guarded(this, [this] { SetLanguage(Language::English); }));
    auto on_menu = [this](QAction *item, void (MainWindow::*handler)()) {
        connect(item, &QAction::triggered, this, Guarded(this, [this, handler] { (this->*handler)(); }));
    };
    on_menu(portSettingsAction_, &MainWindow::ShowPortDialog);
    on_menu(searchReaderAction_, &MainWindow::ShowReaderSearch);
    on_menu(openPortAction_, &MainWindow::OpenPort);
    on_menu(closePortAction_, &MainWindow::ClosePortClicked);
    on_menu(aboutAction_, &MainWindow::ShowAbout);
    on_menu(saveLogAction_, &MainWindow::SaveLogAs);
    on_menu(saveProfileAction_, &MainWindow::SaveProfile);
    on_menu(loadProfileAction_, &MainWindow::LoadProfile);
    on_menu(batchSetupAction_, &MainWindow::ShowBatchSetup);
    auto on_switch = [this](QAction *item, void (MainWindow::*handler)(bool)) {
        connect(item, &QAction::triggered, this, [this, handler](bool on) { RunHandler(this, [=, this] { (this->*handler)(on); }); });
    };
    on_switch(reconnectAction_, &MainWindow::SetReconnect);
    on_switch(logFileAction_, &MainWindow::SetLogToFile);
    on_switch(timestampsAction_, &MainWindow::SetTimestamps);
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
    (language == Language::English ? englishAction_ : chineseAction_)->setChecked(true);
    options_.language = language;
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
    SetPortSettings(stored.com);
    options_ = stored.options;
    ApplyToolOptions();
    if (port_settings_.autoConnect > 0)
        OpenPort();
}

void MainWindow::ApplyToolOptions()
{
    reconnectAction_->setChecked(options_.reconnect);
    logFileAction_->setChecked(options_.log_to_file);
    timestampsAction_->setChecked(options_.timestamps);
    monitor_->SetLineLimit(options_.log_lines);
    monitor_->SetTimestamps(options_.timestamps);
    console_->SetLogFolder(options_.log_to_file ? QDir::currentPath().toStdString() : std::string());
}

void MainWindow::ClosePortAndFlushRecord()
{
    ClosePort();
    console_->FlushLogFile();
}

void MainWindow::SetPortSettings(const settings::PortSettings &s)
{
    port_settings_ = s;
    if (batch_)
        batch_->SetPortSettings(s);
}

LineSettings MainWindow::ConfiguredLine() const
{
    return settings::LineOf(port_settings_, link_.Line());
}

bool MainWindow::TryOpenPort(int *error)
{
    link_.SetPortName(port_settings_.port);
    link_.SetLineSettings(ConfiguredLine());
    try {
        link_.StopPort();
        link_.StartPort();
        ShowStatus([summary = port_settings_] { return ToQ(settings::StatusSummary(summary)); });
        opened_port_ = port_settings_.port;
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
    const std::string advice = OpenFailureAdvice(DiagnoseOpenFailure(port_settings_.port, error));
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
    if (options_.reconnect)
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

void MainWindow::LendPort()
{
    lent_from_ = link_.IsOpen() ? PortUse::Open : reconnector_->Watching() ? PortUse::Watched : PortUse::Idle;
    reconnector_->Stop();
    ClosePort();
}

void MainWindow::TakePortBack()
{
    if (lent_from_ == PortUse::Open)
        OpenPort();
    else if (lent_from_ == PortUse::Watched && options_.reconnect)
        reconnector_->Watch(port_settings_.port);
}

void MainWindow::ShowReaderSearch()
{
    std::optional<int> last_rate;
    if (const int rate = StrToIntDef(port_settings_.baud, 0); rate > 0)
        last_rate = rate;
    // A device server named in the settings is searched too.
    const QString server = LooksLikeNetPort(port_settings_.port) ? ToQ(port_settings_.port) : QString();
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
    settings::PortSettings found = port_settings_;
    found.port = port;
    found.baud = std::to_string(rate);
    SetPortSettings(found);
    settings::SavePortSettings(settings::kIniPath, port_settings_, port_settings_.autoConnect > 0);
    OpenPort();
    // The panel as a query's answer would fill it.
    panel_->ApplyReport(report);
}

void MainWindow::ShowPortDialog()
{
    NewPortDialog()->exec();
}

std::unique_ptr<settings::PortDialog> MainWindow::NewPortDialog()
{
    auto dialog = std::make_unique<settings::PortDialog>(this, port_settings_);
    connect(dialog.get(), &settings::PortDialog::settingsChosen, this,
            [this](const settings::PortSettings &chosen) { SetPortSettings(chosen); });
    connect(dialog.get(), &settings::PortDialog::openRequested, this, &MainWindow::OpenPort);
    return dialog;
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
    options_.reconnect = on;
    if (!on)
        reconnector_->Stop();
    SaveSwitch(settings::kKeyReconnect, on);
}

void MainWindow::SetLogToFile(bool on)
{
    options_.log_to_file = on;
    console_->SetLogFolder(on ? QDir::currentPath().toStdString() : std::string());
    SaveSwitch(settings::kKeyLogFile, on);
}

void MainWindow::SetTimestamps(bool on)
{
    options_.timestamps = on;
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
    if (SaveWholeFile(path, ViewOf(bytes), &reason))
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
    if (!batch_) {
        batch_ = new BatchSetupDialog(*panel_, this);
        connect(batch_, &BatchSetupDialog::portNeeded, this, &MainWindow::LendPort);
        connect(batch_, &BatchSetupDialog::portReleased, this, Guarded(this, [this] { TakePortBack(); }));
        batch_->SetPortSettings(port_settings_);
    }
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
