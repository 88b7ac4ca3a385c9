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
#include "ui/retranslate.h"

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
    case ReaderSetup::Result::Done: return BatchSetupDialog::tr("成功");
    case ReaderSetup::Result::Refused: return BatchSetupDialog::tr("拒绝");
    case ReaderSetup::Result::NoReply:
    case ReaderSetup::Result::HungUp: return BatchSetupDialog::tr("无应答");
    case ReaderSetup::Result::Garbled: return BatchSetupDialog::tr("无应答，波特率可能不同");
    case ReaderSetup::Result::NotVerified: return BatchSetupDialog::tr("校验不符");
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
    setModal(false);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, [this] { Poll(); });

    profileSource_ = new QComboBox(this);
    profileSource_->setObjectName(QStringLiteral("profileSource"));
    profileSource_->addItems({QString(), QString()});
    profileSource_->setSizeAdjustPolicy(QComboBox::AdjustToContents); // its items change with the language
    profilePath_ = new QLineEdit(this);
    profilePath_->setObjectName(QStringLiteral("profilePath"));
    browse_ = new QPushButton(this);
    connect(browse_, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("参数文件"), QString(), ProfileFilter());
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
    verifyAfterSet_ = new QCheckBox(this);
    verifyAfterSet_->setObjectName(QStringLiteral("verifyAfterSet"));
    verifyAfterSet_->setChecked(true);
    recordPath_ = new QLineEdit(DefaultRecord(), this);
    recordPath_->setObjectName(QStringLiteral("recordPath"));

    startButton_ = new QPushButton(this);
    startButton_->setObjectName(QStringLiteral("startButton"));
    stopButton_ = new QPushButton(this);
    stopButton_->setObjectName(QStringLiteral("stopButton"));
    nextButton_ = new QPushButton(this);
    nextButton_->setObjectName(QStringLiteral("nextButton"));
    connect(startButton_, &QPushButton::clicked, this, Guarded(this, [this] { Start(); }));
    connect(stopButton_, &QPushButton::clicked, this, Guarded(this, [this] { Stop(); }));
    connect(nextButton_, &QPushButton::clicked, this, Guarded(this, [this] { Next(); }));

    batchStatus_ = new QLabel(this);
    batchStatus_->setObjectName(QStringLiteral("batchStatus"));
    batchTable_ = new QTableWidget(0, kColumns, this);
    batchTable_->setObjectName(QStringLiteral("batchTable"));
    batchTable_->verticalHeader()->hide();
    batchTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    batchTable_->setWordWrap(false);
    batchTable_->horizontalHeader()->setStretchLastSection(true);
    for (int c = kNumber; c < kReport; ++c)
        batchTable_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);

    auto *source = new QHBoxLayout;
    source->addWidget(profileSource_);
    source->addWidget(profilePath_, 1);
    source->addWidget(browse_);
    auto *form = new QFormLayout;
    QLabel *labels[4];
    for (QLabel *&label : labels)
        label = new QLabel;
    form->addRow(labels[0], source);
    form->addRow(labels[1], firstId_);
    form->addRow(labels[2], readerCount_);
    form->addRow(QString(), verifyAfterSet_);
    form->addRow(labels[3], recordPath_);
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
    Retranslated(this, [=, this] {
        setWindowTitle(tr("批量设置"));
        profileSource_->setItemText(0, tr("面板当前参数"));
        profileSource_->setItemText(1, tr("参数文件"));
        browse_->setText(tr("浏览…"));
        readerCount_->setSpecialValueText(tr("直到停止"));
        verifyAfterSet_->setText(tr("设置后查询校验"));
        startButton_->setText(tr("开始"));
        stopButton_->setText(tr("停止"));
        nextButton_->setText(tr("下一台"));
        nextButton_->setToolTip(tr("端口一直都在时：下一台读卡器已接好"));
        batchTable_->setHorizontalHeaderLabels({QStringLiteral("#"), tr("时间"), QStringLiteral("ID"), tr("结果"), tr("报告")});
        labels[0]->setText(tr("参数"));
        labels[1]->setText(tr("起始 ID"));
        labels[2]->setText(tr("数量"));
        labels[3]->setText(tr("记录文件"));
        if (status_)
            batchStatus_->setText(status_());
    });
    SetState(State::Idle, [] { return QString(); });
}

BatchSetupDialog::~BatchSetupDialog()
{
    // The window is going too: every finished row is in the record already,
    // and a reader being set gets its row there.
    RecordStopped(false);
    Finish([] { return QString(); }, false);
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
        *why = tr("参数文件有误：") + *why;
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
        Warn(this, tr("无法写入记录文件 %1").arg(recordPath_->text()) + QLatin1Char('\n') + ToQ(cannot));
        return false;
    }
    port_ = window_.portSettings.port;
    port_before_ = window_.LendPort(); // the window neither holds nor watches for it meanwhile
    open_failures_ = 0;
    link_.SetPortName(port_);
    link_.SetLineSettings(window_.ConfiguredLine());
    next_id_ = firstId_->value();
    wanted_ = readerCount_->value();
    done_ = 0;
    SetState(State::WaitingForReader, WaitingText());
    poll_->start();
    Poll();
    return true;
}

void BatchSetupDialog::Stop()
{
    if (!RecordStopped(true))
        Warn(this, tr("无法写入记录文件 %1").arg(ToQ(record_)));
    Finish(Running() ? StatusText([] { return tr("已停止"); }) : status_, true);
}

bool BatchSetupDialog::RecordStopped(bool shown)
{
    if (state_ != State::Setting || !setup_.Running())
        return true;
    const bool acknowledged = setup_.Verifying();
    const std::string detail =
        acknowledged ? "stopped before the read-back: the reader acknowledged ID " + std::to_string(next_id_) + ", not verified"
                     : "stopped before the reader answered: it may have taken ID " + std::to_string(next_id_);
    const QDateTime now = QDateTime::currentDateTime();
    if (shown)
        AddRow(now, acknowledged ? tr("已停止，未校验") : tr("已停止，未应答"), false, ToQ(detail));
    return AppendBatchRecord(record_, {now.toString(Qt::ISODateWithMs).toStdString(), port_, false, std::nullopt, detail});
}

void BatchSetupDialog::AddRow(const QDateTime &when, const QString &result, bool ok, const QString &report)
{
    const int row = batchTable_->rowCount();
    batchTable_->insertRow(row);
    const QString cells[kColumns] = {QString::number(row + 1), when.toString(QStringLiteral("HH:mm:ss")),
                                     QString::number(next_id_), result, report};
    for (int c = 0; c < kColumns; ++c) {
        auto *item = new QTableWidgetItem(cells[c]);
        if (!ok)
            item->setBackground(QColor(255, 210, 210));
        batchTable_->setItem(row, c, item);
    }
    batchTable_->scrollToBottom();
    if (!ok)
        QApplication::beep();
}

void BatchSetupDialog::Next()
{
    if (state_ == State::WaitingForUnplug) {
        SetState(State::WaitingForReader, WaitingText());
        Poll();
    }
}

BatchSetupDialog::StatusText BatchSetupDialog::WaitingText() const
{
    return [port = ToQ(port_)] { return tr("等待读卡器（%1）…").arg(port); };
}

void BatchSetupDialog::Finish(StatusText why, bool reopen)
{
    const bool was_running = Running();
    poll_->stop();
    setup_.Stop();
    link_.StopPort();
    SetState(State::Idle, std::move(why));
    if (was_running && reopen)
        window_.TakePortBack(port_before_);
}

void BatchSetupDialog::SetState(State state, StatusText status)
{
    state_ = state;
    status_ = std::move(status);
    batchStatus_->setText(status_());
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
        SetState(State::WaitingForReader, WaitingText());
    else if (state_ == State::WaitingForReader && present)
        SetUp();
}

void BatchSetupDialog::SetUp()
{
    try {
        link_.StopPort();
        link_.SetLineSettings(window_.ConfiguredLine()); // a reader before may have moved it to its new rate
        link_.StartPort();
    } catch (const SerialError &e) {
        // There, but not yet to be opened (its permissions being set): the
        // next look tries again. Still failing a few seconds on, it is said.
        if (++open_failures_ == kOpenFailuresSaid)
            SetState(State::WaitingForReader, [port = ToQ(port_), words = QString::fromLocal8Bit(e.what())] {
                return tr("无法打开 %1：%2（仍在重试）").arg(port, words);
            });
        return;
    }
    open_failures_ = 0;
    SetState(State::Setting, [id = next_id_] { return tr("正在设置 ID %1…").arg(id); });
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
    QString report;
    if (outcome.report) {
        std::vector<FieldValue> read_back;
        const FieldBytes bytes = FieldBytesOf(*outcome.report);
        for (std::size_t i = 0; i < kFieldCount; ++i)
            read_back.push_back({static_cast<Field>(i), bytes[i]});
        report = ToQ(Words(read_back));
    }
    if (!ok)
        report = ToQ(outcome.problem) + (report.isEmpty() ? QString() : tr("；") + report);
    AddRow(now, ResultWords(outcome.result), ok, report);
    if (!AppendBatchRecord(record_, {now.toString(Qt::ISODateWithMs).toStdString(), port_, ok, outcome.report,
                                     outcome.problem})) {
        Finish([] { return tr("记录文件无法写入，已停止"); }, true);
        Warn(this, tr("无法写入记录文件 %1").arg(ToQ(record_)) + QLatin1Char('\n') + tr("已停止；表中的结果都在。"));
        return;
    }
    if (ok) {
        ++done_;
        if (wanted_ > 0 && done_ >= wanted_)
            return Finish([done = done_] { return tr("完成：%1 台").arg(done); }, true);
        if (++next_id_ > kIdMax)
            return Finish([] { return tr("ID 已用到 %1，已停止").arg(kIdMax); }, true);
    }
    const bool garbled = outcome.result == ReaderSetup::Result::Garbled;
    SetState(State::WaitingForUnplug, [ok, garbled, id = ok ? next_id_ - 1 : next_id_] {
        QString said = ok ? tr("ID %1 已设置。").arg(id) : tr("失败，ID %1 留给下一台。").arg(id);
        if (garbled)
            said += tr("这台的波特率可能不同：停止后可用“通讯设置”→“搜索读卡器…”找到它。");
        return said + tr("请拔下这台，接上下一台（端口一直都在时按“下一台”）");
    });
}

} // namespace rovi
