#include "batchsetupdialog.h"

#include "profilefile.h"

#include "panel/commandrules.h"
#include "panel/parampanel.h"
#include "ui/messages.h"
#include "ui/qtext.h"
#include "ui/retranslate.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
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
#include <QVBoxLayout>

namespace rovi {

namespace {

enum Column { kNumber, kTime, kId, kResult, kReport, kColumns };

QString ResultWords(BatchSetup::Verdict verdict)
{
    switch (verdict) {
    case BatchSetup::Verdict::Done: return BatchSetupDialog::tr("成功");
    case BatchSetup::Verdict::Refused: return BatchSetupDialog::tr("拒绝");
    case BatchSetup::Verdict::NoReply:
    case BatchSetup::Verdict::HungUp: return BatchSetupDialog::tr("无应答");
    case BatchSetup::Verdict::Garbled: return BatchSetupDialog::tr("无应答，波特率可能不同");
    case BatchSetup::Verdict::NotVerified: return BatchSetupDialog::tr("校验不符");
    case BatchSetup::Verdict::OpenFailed: return BatchSetupDialog::tr("无法打开");
    case BatchSetup::Verdict::StoppedUnanswered: return BatchSetupDialog::tr("已停止，未应答");
    case BatchSetup::Verdict::StoppedUnverified: return BatchSetupDialog::tr("已停止，未校验");
    }
    return {};
}

QString DefaultRecord()
{
    return QDir::current().filePath(QStringLiteral("rovi-batch-%1.csv").arg(QDate::currentDate().toString(Qt::ISODate)));
}

} // namespace

BatchSetupDialog::BatchSetupDialog(const panel::ParamPanel &panel, QWidget *parent)
    : QDialog(parent), panel_(panel)
{
    setObjectName(QStringLiteral("batchSetupDialog"));
    setModal(false);
    connect(&batch_, &BatchSetup::stateChanged, this, &BatchSetupDialog::OnState);
    connect(&batch_, &BatchSetup::readerFinished, this, &BatchSetupDialog::OnReader);
    connect(&batch_, &BatchSetup::ended, this, &BatchSetupDialog::OnEnded);
    connect(&batch_, &BatchSetup::openFailing, this, [this](int tries, const QString &words) {
        // There, but not yet to be opened (its permissions being set): the
        // loop looks again. Still failing a few seconds on, it is said.
        if (tries == kOpenFailuresSaid)
            ShowStatus([port = ToQ(batch_.CurrentPlan().port), words] {
                return tr("无法打开 %1：%2（仍在重试）").arg(port, words);
            });
    });

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
    OnState(BatchSetup::State::Idle);
    ShowStatus([] { return QString(); });
}

BatchSetupDialog::~BatchSetupDialog()
{
    // The window is going too: every finished row is in the record already,
    // and a reader being set gets its row there; the window's port stays shut.
    disconnect(&batch_, nullptr, this, nullptr);
    batch_.Stop();
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
        values = FieldsSetBy(panel::SetAllFields(panel_.Snapshot()));
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
    BatchSetup::Plan plan;
    plan.port = port_settings_.port;
    plan.line = settings::LineOf(port_settings_, ReaderLine(kFactoryBaudRate));
    plan.fields = fields_;
    plan.firstId = firstId_->value();
    plan.count = readerCount_->value();
    plan.verify = verifyAfterSet_->isChecked();
    plan.record = ToStd(recordPath_->text());
    std::string cannot;
    if (!batch_.Start(std::move(plan), &cannot)) { // before any reader is changed
        Warn(this, tr("无法写入记录文件 %1").arg(recordPath_->text()) + QLatin1Char('\n') + ToQ(cannot));
        return false;
    }
    emit portNeeded(); // before the loop's first look
    return true;
}

void BatchSetupDialog::Stop()
{
    const std::string record = batch_.CurrentPlan().record;
    if (!batch_.Stop())
        Warn(this, tr("无法写入记录文件 %1").arg(ToQ(record)));
}

void BatchSetupDialog::Next()
{
    batch_.Next();
}

void BatchSetupDialog::OnReader(const BatchSetup::Reader &reader)
{
    QString report;
    if (reader.report) {
        std::vector<FieldValue> read_back;
        const FieldBytes bytes = FieldBytesOf(*reader.report);
        for (std::size_t i = 0; i < kFieldCount; ++i)
            read_back.push_back({static_cast<Field>(i), bytes[i]});
        report = ToQ(Words(read_back));
    }
    if (!reader.Ok())
        report = ToQ(reader.problem) + (report.isEmpty() ? QString() : tr("；") + report);
    AddRow(reader, ResultWords(reader.verdict), report);
    const bool ok = reader.Ok();
    const bool garbled = reader.verdict == BatchSetup::Verdict::Garbled;
    unplug_text_ = [ok, garbled, id = reader.id.value_or(0)] {
        QString said = ok ? tr("ID %1 已设置。").arg(id) : tr("失败，ID %1 留给下一台。").arg(id);
        if (garbled)
            said += tr("这台的波特率可能不同：停止后可用“通讯设置”→“搜索读卡器…”找到它。");
        return said + tr("请拔下这台，接上下一台（端口一直都在时按“下一台”）");
    };
}

void BatchSetupDialog::AddRow(const BatchSetup::Reader &reader, const QString &result, const QString &report)
{
    const int row = batchTable_->rowCount();
    batchTable_->insertRow(row);
    const QString cells[kColumns] = {QString::number(row + 1), reader.when.toString(QStringLiteral("HH:mm:ss")),
                                     QString::number(reader.id.value_or(0)), result, report};
    for (int c = 0; c < kColumns; ++c) {
        auto *item = new QTableWidgetItem(cells[c]);
        if (!reader.Ok())
            item->setBackground(QColor(255, 210, 210));
        batchTable_->setItem(row, c, item);
    }
    batchTable_->scrollToBottom();
    if (!reader.Ok())
        QApplication::beep();
}

void BatchSetupDialog::OnEnded(BatchSetup::End end)
{
    switch (end) {
    case BatchSetup::End::Done: ShowStatus([done = batch_.Finished()] { return tr("完成：%1 台").arg(done); }); break;
    case BatchSetup::End::IdsUsedUp: ShowStatus([] { return tr("ID 已用到 %1，已停止").arg(kIdMax); }); break;
    case BatchSetup::End::Stopped: ShowStatus([] { return tr("已停止"); }); break;
    case BatchSetup::End::RecordFailed: ShowStatus([] { return tr("记录文件无法写入，已停止"); }); break;
    }
    emit portReleased();
    if (end == BatchSetup::End::RecordFailed)
        Warn(this, tr("无法写入记录文件 %1").arg(ToQ(batch_.CurrentPlan().record)) + QLatin1Char('\n') +
                       tr("已停止；表中的结果都在。"));
}

BatchSetupDialog::StatusText BatchSetupDialog::WaitingText() const
{
    return [port = ToQ(batch_.CurrentPlan().port)] { return tr("等待读卡器（%1）…").arg(port); };
}

void BatchSetupDialog::ShowStatus(StatusText status)
{
    status_ = std::move(status);
    batchStatus_->setText(status_());
}

void BatchSetupDialog::OnState(BatchSetup::State state)
{
    switch (state) {
    case BatchSetup::State::Idle: break; // said by OnEnded
    case BatchSetup::State::WaitingForReader: ShowStatus(WaitingText()); break;
    case BatchSetup::State::Setting:
        ShowStatus([id = batch_.NextId()] { return tr("正在设置 ID %1…").arg(id); });
        break;
    case BatchSetup::State::WaitingForUnplug: ShowStatus(unplug_text_); break;
    }
    const bool idle = state == BatchSetup::State::Idle;
    startButton_->setEnabled(idle);
    stopButton_->setEnabled(!idle);
    nextButton_->setEnabled(state == BatchSetup::State::WaitingForUnplug);
    for (QWidget *w : std::initializer_list<QWidget *>{profileSource_, profilePath_, browse_, firstId_, readerCount_,
                                                       verifyAfterSet_, recordPath_})
        w->setEnabled(idle);
}

} // namespace rovi
