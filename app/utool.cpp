#include "utool.h"

#include "messages.h"
#include "panel/parampanel.h"
#include "panel/readerconsole.h"
#include "panel/trafficmonitor.h"
#include "qtext.h"
#include "uabout.h"

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
    QMenu *help_menu = menuBar()->addMenu(QStringLiteral("帮助"));
    N5 = help_menu->addAction(QStringLiteral("关于"));
    COM1->setObjectName(QStringLiteral("COM1"));
    N2->setObjectName(QStringLiteral("N2"));
    COM2->setObjectName(QStringLiteral("COM2"));
    N5->setObjectName(QStringLiteral("N5"));
    connect(N5, &QAction::triggered, this, [this] { RunHandler(this, [this] { N5Click(); }); });
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

    monitor_ = std::make_unique<panel::TrafficMonitor>(client);

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
    status_panels_[0]->setAccessibleName(QStringLiteral("串口状态"));
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

void TFtool::N5Click()
{
    TFabout about(this);
    about.exec();
}

} // namespace rovi
