#include "batchsetupdialog.h"

#include "mainwindow.h"

#include "base/appendfile.h"
#include "panel/commandrules.h"
#include "panel/parampanel.h"
#include "protocol/batchrecord.h"
#include "profilefile.h"
#include "serial/portinfo.h"
#include "ui/messages.h"
#include "ui/qtext.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace rovi {

namespace {

enum Column { kNumber, kTime, kId, kResult, kReport, kColumns };

QString ResultWords(ReaderSetup::Result result)
{
    switch (result) {
    case ReaderSetup::Result::Done: return QStringLiteral("成功");
    case ReaderSetup::Result::Refused: return QStringLiteral("拒绝");
    case ReaderSetup::Result::NoReply:
    case ReaderSetup::Result::HungUp: return QStringLiteral("无应答");
    case ReaderSetup::Result::Garbled: return QStringLiteral("无应答，波特率可能不同");
    case ReaderSetup::Result::NotVerified: return QStringLiteral("校验不符");
    }
    return {};
}

QString DefaultRecord()
{
    return QDir::current().filePath(QStringLiteral("rovi-batch-%1.csv").arg(QDate::currentDate().toString(Qt::ISODate)));
}

} // namespace

BatchSetupDialog::BatchSetupDialog(MainWindow &window)
    : QDialog(&window), window_(window), setup_(link_), poll_(new QTimer(this))
{
    setObjectName(QStringLiteral("batchSetupDialog"));
    setWindowTitle(QStringLiteral("批量设置"));
    setModal(false);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, [this] { Poll(); });

    profileSource_ = new QComboBox(this);
    profileSource_->setObjectName(QStringLiteral("profileSource"));
    profileSource_->addItems({QStringLiteral("面板当前参数"), QStringLiteral("参数文件")});
    profilePath_ = new QLineEdit(this);
    profilePath_->setObjectName(QStringLiteral("profilePath"));
    browse_ = new QPushButton(QStringLiteral("浏览…"), this);
    auto *browse = browse_;
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("参数文件"), QString(),
                                                          QStringLiteral("参数文件 (*.rovi);;所有文件 (*)"));
        if (!path.isEmpty()) {
            profilePath_->setText(path);
            profileSource_->setCurrentIndex(1);
        }
    });
    firstId_ = new QSpinBox(this);
    firstId_->setObjectName(QStringLiteral("firstId"));
    firstId_->setRange(kIdMin, kIdMax);
    readerCount_ = new QSpinBox(this);
    readerCount_->setObjectName(QStringLiteral("readerCount"));
    readerCount_->setRange(0, 9999);
    readerCount_->setSpecialValueText(QStringLiteral("直到停止"));
    verifyAfterSet_ = new QCheckBox(QStringLiteral("设置后查询校验"), this);
    verifyAfterSet_->setObjectName(QStringLiteral("verifyAfterSet"));
    verifyAfterSet_->setChecked(true);
    recordPath_ = new QLineEdit(DefaultRecord(), this);
    recordPath_->setObjectName(QStringLiteral("recordPath"));

    startButton_ = new QPushButton(QStringLiteral("开始"), this);
    startButton_->setObjectName(QStringLiteral("startButton"));
    stopButton_ = new QPushButton(QStringLiteral("停止"), this);
    stopButton_->setObjectName(QStringLiteral("stopButton"));
    nextButton_ = new QPushButton(QStringLiteral("下一台"), this);
    nextButton_->setObjectName(QStringLiteral("nextButton"));
    nextButton_->setToolTip(QStringLiteral("端口一直都在时：下一台读卡器已接好"));
    connect(startButton_, &QPushButton::clicked, this, Guarded(this, [this] { Start(); }));
    connect(stopButton_, &QPushButton::clicked, this, Guarded(this, [this] { Stop(); }));
    connect(nextButton_, &QPushButton::clicked, this, Guarded(this, [this] { Next(); }));

    batchStatus_ = new QLabel(this);
    batchStatus_->setObjectName(QStringLiteral("batchStatus"));
    batchTable_ = new QTableWidget(0, kColumns, this);
    batchTable_->setObjectName(QStringLiteral("batchTable"));
    batchTable_->setHorizontalHeaderLabels(
        {QStringLiteral("#"), QStringLiteral("时间"), QStringLiteral("ID"), QStringLiteral("结果"), QStringLiteral("报告")});
    batchTable_->verticalHeader()->hide();
    batchTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    batchTable_->setWordWrap(false);
    batchTable_->horizontalHeader()->setStretchLastSection(true);
    for (int c = kNumber; c < kReport; ++c)
        batchTable_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);

    auto *source = new QHBoxLayout;
    source->addWidget(profileSource_);
    source->addWidget(profilePath_, 1);
    source->addWidget(browse);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("参数"), source);
    form->addRow(QStringLiteral("起始 ID"), firstId_);
    form->addRow(QStringLiteral("数量"), readerCount_);
    form->addRow(QString(), verifyAfterSet_);
    form->addRow(QStringLiteral("记录文件"), recordPath_);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(startButton_);
    buttons->addWidget(stopButton_);
    buttons->addWidget(nextButton_);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(batchStatus_);
    layout->addWidget(batchTable_, 1);
    resize(620, 460);
    SetState(State::Idle, QString());
}

BatchSetupDialog::~BatchSetupDialog()
{
    // The window is going too: every finished row is in the record already.
    Finish(QString(), false);
}

void BatchSetupDialog::closeEvent(QCloseEvent *event)
{
    Stop();
    QDialog::closeEvent(event);
}

bool BatchSetupDialog::LoadFields(QString *why)
{
    std::optional<std::vector<FieldValue>> values;
    if (profileSource_->currentIndex() == 0)
        values = FieldsSetBy(panel::SetAllFields(window_.Panel()->Snapshot()));
    else if (!(values = ReadProfileFile(profilePath_->text(), why))) {
        *why = QStringLiteral("参数文件有误：") + *why;
        return false;
    }
    fields_.clear();
    for (const FieldValue &v : *values)
        if (v.field != Field::id_addr) // each reader's own ID takes its place
            fields_.push_back(v);
    return true;
}

bool BatchSetupDialog::Start()
{
    if (Running())
        return true;
    QString why;
    if (!LoadFields(&why)) {
        Warn(this, why);
        return false;
    }
    record_ = recordPath_->text().toStdString();
    std::string cannot;
    if (!AppendFile::Open(record_, &cannot)) { // before any reader is changed
        Warn(this, QStringLiteral("无法写入记录文件 ") + recordPath_->text() + QLatin1Char('\n') + ToQ(cannot));
        return false;
    }
    port_ = window_.portSettings.port;
    port_was_open_ = window_.Link().IsOpen();
    window_.ClosePort();
    link_.SetPortName(port_);
    link_.SetLineSettings(window_.ConfiguredLine());
    next_id_ = firstId_->value();
    wanted_ = readerCount_->value();
    done_ = 0;
    SetState(State::WaitingForReader, QStringLiteral("等待读卡器（%1）…").arg(ToQ(port_)));
    poll_->start();
    Poll();
    return true;
}

void BatchSetupDialog::Stop()
{
    Finish(Running() ? QStringLiteral("已停止") : batchStatus_->text(), true);
}

void BatchSetupDialog::Next()
{
    if (state_ == State::WaitingForUnplug) {
        SetState(State::WaitingForReader, QStringLiteral("等待读卡器（%1）…").arg(ToQ(port_)));
        Poll();
    }
}

void BatchSetupDialog::Finish(const QString &why, bool reopen)
{
    const bool was_running = Running();
    poll_->stop();
    setup_.Stop();
    link_.StopPort();
    SetState(State::Idle, why);
    if (was_running && reopen && port_was_open_)
        window_.OpenPort();
}

void BatchSetupDialog::SetState(State state, const QString &status)
{
    state_ = state;
    batchStatus_->setText(status);
    const bool idle = state == State::Idle;
    startButton_->setEnabled(idle);
    stopButton_->setEnabled(!idle);
    nextButton_->setEnabled(state == State::WaitingForUnplug);
    for (QWidget *w : std::initializer_list<QWidget *>{profileSource_, profilePath_, browse_, firstId_, readerCount_,
                                                       verifyAfterSet_, recordPath_})
        w->setEnabled(idle);
}

void BatchSetupDialog::Poll()
{
    const bool present = PortPresent(port_);
    if (state_ == State::WaitingForUnplug && !present)
        SetState(State::WaitingForReader, QStringLiteral("等待读卡器（%1）…").arg(ToQ(port_)));
    else if (state_ == State::WaitingForReader && present)
        SetUp();
}

void BatchSetupDialog::SetUp()
{
    try {
        link_.StopPort();
        link_.SetLineSettings(window_.ConfiguredLine()); // a reader before may have moved it to its new rate
        link_.StartPort();
    } catch (const SerialError &) {
        return; // there, but not yet to be opened (its permissions being set): the next look tries again
    }
    SetState(State::Setting, QStringLiteral("正在设置 ID %1…").arg(next_id_));
    std::vector<FieldValue> values{{Field::id_addr, static_cast<std::uint8_t>(next_id_)}};
    values.insert(values.end(), fields_.begin(), fields_.end());
    setup_.Start(values, verifyAfterSet_->isChecked(), 1000, [this](const ReaderSetup::Outcome &outcome) {
        RunHandler(this, [&] { OnOutcome(outcome); });
    });
}

void BatchSetupDialog::OnOutcome(const ReaderSetup::Outcome &outcome)
{
    link_.StopPort();
    const bool ok = outcome.result == ReaderSetup::Result::Done;
    const QDateTime now = QDateTime::currentDateTime();
    const int row = batchTable_->rowCount();
    batchTable_->insertRow(row);
    QString report;
    if (outcome.report) {
        std::vector<FieldValue> read_back;
        const FieldBytes bytes = FieldBytesOf(*outcome.report);
        for (std::size_t i = 0; i < kFieldCount; ++i)
            read_back.push_back({static_cast<Field>(i), bytes[i]});
        report = ToQ(Words(read_back));
    }
    if (!ok)
        report = ToQ(outcome.problem) + (report.isEmpty() ? QString() : QStringLiteral("；") + report);
    const QString cells[kColumns] = {QString::number(row + 1), now.toString(QStringLiteral("HH:mm:ss")),
                                     QString::number(next_id_), ResultWords(outcome.result), report};
    for (int c = 0; c < kColumns; ++c) {
        auto *item = new QTableWidgetItem(cells[c]);
        if (!ok)
            item->setBackground(QColor(255, 210, 210));
        batchTable_->setItem(row, c, item);
    }
    batchTable_->scrollToBottom();
    if (!ok)
        QApplication::beep();
    if (!AppendBatchRecord(record_, {now.toString(Qt::ISODateWithMs).toStdString(), port_, ok, outcome.report,
                                     outcome.problem})) {
        Finish(QStringLiteral("记录文件无法写入，已停止"), true);
        Warn(this, QStringLiteral("无法写入记录文件 ") + ToQ(record_) + QStringLiteral("\n已停止；表中的结果都在。"));
        return;
    }
    if (ok) {
        ++done_;
        if (wanted_ > 0 && done_ >= wanted_)
            return Finish(QStringLiteral("完成：%1 台").arg(done_), true);
        if (++next_id_ > kIdMax)
            return Finish(QStringLiteral("ID 已用到 %1，已停止").arg(kIdMax), true);
    }
    QString said = ok ? QStringLiteral("ID %1 已设置。").arg(next_id_ - 1) : QStringLiteral("失败，ID %1 留给下一台。").arg(next_id_);
    if (outcome.result == ReaderSetup::Result::Garbled)
        said += QStringLiteral("这台的波特率可能不同：停止后可用“通讯设置”→“搜索读卡器…”找到它。");
    SetState(State::WaitingForUnplug, said + QStringLiteral("请拔下这台，接上下一台（端口一直都在时按“下一台”）"));
}

} // namespace rovi
