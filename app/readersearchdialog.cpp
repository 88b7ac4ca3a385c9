#include "readersearchdialog.h"

#include "openadvice.h"

#include "serial/portinfo.h"
#include "serial/readersearch.h"
#include "ui/dialogframe.h"
#include "ui/qtext.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

namespace rovi {

namespace {

constexpr int kPortRole = Qt::UserRole;

QString ReportInWords(const Frame &report)
{
    const ParameterSet p = DecodeReport(report);
    QStringList words;
    if (p.wiegand) {
        const auto *out = std::get_if<WiegandOutput>(&*p.wiegand);
        static const char *const kWiegand[] = {QT_TRANSLATE_NOOP("rovi::ReaderSearchDialog", "韦根26"), QT_TRANSLATE_NOOP("rovi::ReaderSearchDialog", "韦根34"),
                                               QT_TRANSLATE_NOOP("rovi::ReaderSearchDialog", "韦根36"), QT_TRANSLATE_NOOP("rovi::ReaderSearchDialog", "韦根44")};
        words << (out ? ReaderSearchDialog::tr(kWiegand[out->format]) : ReaderSearchDialog::tr("拨码控制"));
    }
    if (p.serial_fmt) {
        static const char *const kFormats[] = {QT_TRANSLATE_NOOP("rovi::ReaderSearchDialog", "标准格式"), QT_TRANSLATE_NOOP("rovi::ReaderSearchDialog", "16进制卡号"),
                                               QT_TRANSLATE_NOOP("rovi::ReaderSearchDialog", "10进制卡号")};
        words << ReaderSearchDialog::tr(kFormats[*p.serial_fmt]);
    }
    if (p.power) {
        const auto *sw = std::get_if<SoftwareControl>(&*p.power);
        words << (sw ? ReaderSearchDialog::tr("软件控制 %1 级").arg(sw->level + 1) : ReaderSearchDialog::tr("外部控制"));
    }
    return words.join(ReaderSearchDialog::tr("，"));
}

// A port's row: searched (ticked) when `ticked`, unless `skipped` says why
// it is not (then it is greyed and cannot be ticked).
void AddPortRow(QListWidget *list, const QString &port, const QString &text, const QString &skipped, bool ticked)
{
    auto *item = new QListWidgetItem(list);
    item->setData(kPortRole, port);
    item->setFlags(skipped.isEmpty() ? Qt::ItemIsUserCheckable | Qt::ItemIsEnabled : Qt::ItemIsUserCheckable);
    item->setText(text + skipped);
    item->setCheckState(skipped.isEmpty() && ticked ? Qt::Checked : Qt::Unchecked);
}

ReaderSearchDialog::PortLister &Lister()
{
    static ReaderSearchDialog::PortLister lister;
    return lister;
}

} // namespace

void ReaderSearchDialog::SetPortLister(PortLister lister)
{
    Lister() = std::move(lister);
}

ReaderSearchDialog::ReaderSearchDialog(QWidget *owner, const QString &in_use, std::optional<int> last_rate,
                                       const QString &server)
    : QDialog(owner), search_(new ReaderSearch(this)), last_rate_(last_rate)
{
    setObjectName(QStringLiteral("readerSearchDialog"));
    SetUpFixedDialog(*this, tr("搜索读卡器"), QSize(560, 420));

    auto *ports_label = new QLabel(tr("串口"), this);
    ports_label->setGeometry(16, 10, 200, 18);
    ports_ = new QListWidget(this);
    ports_->setObjectName(QStringLiteral("searchPorts"));
    ports_->setGeometry(16, 30, 330, 120);
    ports_->setAccessibleName(tr("串口"));
    ports_label->setBuddy(ports_);
    FillPorts(in_use, server);

    auto *rates_label = new QLabel(tr("波特率"), this);
    rates_label->setGeometry(362, 10, 180, 18);
    for (int i = 0; i < kBaudRates; ++i) {
        auto *rate = new QCheckBox(QString::number(kBaudRateValues[i]), this);
        rate->setObjectName(QStringLiteral("rate%1").arg(kBaudRateValues[i]));
        rate->setGeometry(362 + (i % 2) * 90, 30 + (i / 2) * 28, 86, 22);
        rate->setChecked(true);
        rate->setAccessibleName(tr("波特率 %1").arg(kBaudRateValues[i]));
        rates_.push_back(rate);
    }

    start_ = new QPushButton(tr("开始搜索"), this);
    start_->setObjectName(QStringLiteral("startSearchButton"));
    start_->setGeometry(16, 160, 100, 28);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("searchProgress"));
    progress_->setGeometry(126, 164, 220, 20);
    progress_->setValue(0);
    trying_ = new QLabel(this);
    trying_->setObjectName(QStringLiteral("searchTrying"));
    trying_->setGeometry(356, 164, 190, 20);

    answers_ = new QTableWidget(0, 4, this);
    answers_->setObjectName(QStringLiteral("searchAnswers"));
    answers_->setGeometry(16, 196, 528, 160);
    answers_->setHorizontalHeaderLabels(
        {tr("串口", "column"), tr("波特率", "column"), QStringLiteral("ID"), tr("参数")});
    answers_->horizontalHeader()->setStretchLastSection(true);
    answers_->setColumnWidth(0, 220);
    answers_->setColumnWidth(1, 64);
    answers_->setColumnWidth(2, 40);
    answers_->setSelectionBehavior(QAbstractItemView::SelectRows);
    answers_->setSelectionMode(QAbstractItemView::SingleSelection);
    answers_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    answers_->setAccessibleName(tr("搜索结果"));

    use_ = new QPushButton(tr("使用此读卡器"), this);
    use_->setObjectName(QStringLiteral("useReaderButton"));
    use_->setGeometry(424, 364, 120, 28);
    use_->setEnabled(false);

    connect(start_, &QPushButton::clicked, this, [this] { Searching() ? StopSearch() : StartSearch(); });
    connect(use_, &QPushButton::clicked, this, [this] { UseChosen(); });
    connect(answers_, &QTableWidget::itemSelectionChanged, this,
            [this] { use_->setEnabled(!answers_->selectedItems().isEmpty()); });
    connect(search_, &ReaderSearch::trying, this, [this](const QString &port, int rate) {
        progress_->setValue(progress_->value() + 1);
        trying_->setText(QStringLiteral("%1  %2").arg(port).arg(rate));
    });
    connect(search_, &ReaderSearch::found, this, [this](const QString &port, int rate, const Frame &report) {
        found_.push_back({port, rate, report});
        const int row = answers_->rowCount();
        answers_->insertRow(row);
        const auto id = DecodeIdAddr(report[FramePos(Field::id_addr)]);
        const QString cells[] = {port, QString::number(rate), id ? QString::number(*id) : QStringLiteral("?"),
                                 ReportInWords(report)};
        for (int c = 0; c < 4; ++c)
            answers_->setItem(row, c, new QTableWidgetItem(cells[c]));
        if (row == 0)
            answers_->selectRow(0);
    });
    connect(search_, &ReaderSearch::portFailed, this, [this](const QString &port, int error) {
        for (int i = 0; i < ports_->count(); ++i)
            if (ports_->item(i)->data(kPortRole).toString() == port)
                ports_->item(i)->setText(
                    tr("%1  （%2）").arg(port, ToQ(OpenFailureAdvice(DiagnoseOpenFailure(port.toStdString(), error)))));
    });
    connect(search_, &ReaderSearch::finished, this, [this] {
        start_->setText(tr("开始搜索"));
        progress_->setValue(progress_->maximum());
        trying_->setText(found_.empty() ? tr("没有找到读卡器") : tr("找到 %1 台读卡器").arg(found_.size()));
    });
}

ReaderSearchDialog::~ReaderSearchDialog()
{
    search_->Stop();
}

void ReaderSearchDialog::FillPorts(const QString &in_use, const QString &server)
{
    const QString in_use_words = tr("  （本程序正在使用，跳过）");
    // One connection at a time: a server's second client would take the
    // line from the window (or be refused).
    if (!server.isEmpty())
        AddPortRow(ports_, server, server + tr("  （串口服务器）"), server == in_use ? in_use_words : QString(), true);
    for (const PortEntry &port : Lister() ? Lister()() : ListPorts()) {
        const QString name = QString::fromStdString(port.by_id.empty() ? port.path : port.by_id);
        QString text = name;
        const QString words = QString::fromStdString(PortWords(port));
        if (!words.isEmpty())
            text += QStringLiteral("  (") + words + QLatin1Char(')');
        const QString path = QString::fromStdString(port.path);
        QString skipped;
        if (name == in_use || path == in_use)
            skipped = in_use_words;
        else if (!port.holders.empty())
            skipped = tr("  （被 %1 占用，跳过）").arg(QString::fromStdString(port.holders.front().command));
        AddPortRow(ports_, name, text, skipped, !path.startsWith(QStringLiteral("/dev/ttyS")));
    }
}

void ReaderSearchDialog::StartSearch()
{
    std::vector<std::string> ports;
    for (int i = 0; i < ports_->count(); ++i)
        if (ports_->item(i)->checkState() == Qt::Checked && (ports_->item(i)->flags() & Qt::ItemIsEnabled))
            ports.push_back(ports_->item(i)->data(kPortRole).toString().toStdString());
    std::vector<int> rates;
    for (std::size_t i = 0; i < rates_.size(); ++i)
        if (rates_[i]->isChecked())
            rates.push_back(kBaudRateValues[i]);
    const std::vector<int> order = SearchRateOrder(rates, last_rate_);
    found_.clear();
    answers_->setRowCount(0);
    use_->setEnabled(false);
    progress_->setRange(0, std::max<int>(1, static_cast<int>(ports.size() * order.size())));
    progress_->setValue(0);
    if (ports.empty() || order.empty()) {
        trying_->setText(tr("请选择串口和波特率"));
        return;
    }
    start_->setText(tr("停止"));
    search_->Start(ports, order);
}

void ReaderSearchDialog::StopSearch()
{
    search_->Stop();
    start_->setText(tr("开始搜索"));
    trying_->setText(tr("已停止"));
}

bool ReaderSearchDialog::Searching() const
{
    return search_->Running();
}

int ReaderSearchDialog::Found() const
{
    return static_cast<int>(found_.size());
}

void ReaderSearchDialog::UseChosen()
{
    const int row = answers_->currentRow();
    if (row < 0 || row >= static_cast<int>(found_.size()))
        return;
    const Answer chosen = found_[static_cast<std::size_t>(row)];
    search_->Stop(); // its ports are let go before the window opens the chosen one
    emit useReader(chosen.port, chosen.rate, chosen.report);
    accept();
}

void ReaderSearchDialog::done(int result)
{
    search_->Stop();
    QDialog::done(result);
}

} // namespace rovi
