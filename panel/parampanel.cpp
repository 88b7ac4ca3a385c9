#include "parampanel.h"

#include "mirrorrules.h"

#include "ui/messages.h"
#include "ui/qtext.h"
#include "ui/dialogframe.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include <type_traits>

namespace rovi::panel {

namespace {

constexpr int kGroupLeft[8] = {9, 104, 199, 294, 389, 484, 579, 675};
constexpr int kGroupTop = 10;
constexpr int kGroupWidth = 90;
constexpr int kGroupHeight = 320;
const QRect kMirrorRect(16, 262, 60, 21);
const QRect kSetButtonRect(16, 289, 60, 25);

const char *const kGroupCaptions[8] = {"  基础设置  ", "   ID地址   ", "  韦根格式  ", "  串口格式  ",
                                       "   波特率   ", "读卡距离调节", " 防重读时间 ", "  发送时间  "};

QStringList Items(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *t : texts)
        list << QString::fromUtf8(t);
    return list;
}

QStringList LevelItems()
{
    QStringList list;
    for (int level = 1; level <= 32; ++level)
        list << QString::number(level);
    return list;
}

// A list's accessible name is its current value (Qt on Linux names a list by
// it, and would hide it behind a set name), so a list says what it is in its
// description; every other control in its name.
template <class W> W *Named(W *widget, const QString &name, const QRect &rect, const QString &accessible)
{
    widget->setObjectName(name);
    widget->setGeometry(rect);
    if constexpr (std::is_base_of_v<QComboBox, W>)
        widget->setAccessibleDescription(accessible);
    else
        widget->setAccessibleName(accessible);
    return widget;
}

} // namespace

ParamPanel::ParamPanel(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("paramPanel"));
    QGroupBox *groups[8];
    for (int i = 0; i < 8; ++i)
        groups[i] = MakeGroup(i, QString::fromUtf8(kGroupCaptions[i]));
    const QString group_name[8] = {QStringLiteral("基础设置"), QStringLiteral("ID地址"), QStringLiteral("韦根格式"),
                                   QStringLiteral("串口格式"), QStringLiteral("波特率"), QStringLiteral("读卡距离调节"),
                                   QStringLiteral("防重读时间"), QStringLiteral("发送时间")};

    auto button = [](QWidget *g, const char *name, const char *caption, int y) {
        return Named(new QPushButton(QString::fromUtf8(caption), g), QString::fromLatin1(name), QRect(8, y, 74, 25),
                     QString::fromUtf8(caption));
    };
    factoryResetButton_ = button(groups[0], "factoryResetButton", "出厂设置", 30);
    setAllButton_ = button(groups[0], "setAllButton", "全部设置", 80);
    queryButton_ = button(groups[0], "queryButton", "查看参数", 130);

    idAddress_ = Named(new RuleEdit(groups[1], RuleEdit::Filter::Digits), QStringLiteral("idAddress"), QRect(16, 60, 60, 21),
                      group_name[1] + QStringLiteral(" 数值"));
    idAddress_->setText(QStringLiteral("1"));

    auto *dipSwitchControl = Named(new QRadioButton(QStringLiteral("拨码控制"), groups[2]), QStringLiteral("dipSwitchControl"),
                                   QRect(8, 30, 80, 20), QStringLiteral("拨码控制"));
    auto *wiegandOutput = Named(new QRadioButton(QStringLiteral("韦根输出"), groups[2]), QStringLiteral("wiegandOutput"),
                                QRect(8, 60, 80, 20), QStringLiteral("韦根输出"));
    auto *wiegandFormat = Named(new RuleComboBox(groups[2], Items({"韦根26", "韦根34", "韦根36", "韦根44", "韦根禁止"})),
                                QStringLiteral("wiegandFormat"), QRect(8, 95, 74, 20), group_name[2] + QStringLiteral(" 格式"));

    serialFormat_ = Named(new RuleComboBox(groups[3], Items({"标准格式", "16进制卡号", "10进制卡号", "串口禁止"})),
                      QStringLiteral("serialFormat"), QRect(4, 60, 82, 20), group_name[3]);
    baudRate_ = Named(new RuleComboBox(groups[4], Items({"1200", "2400", "4800", "9600", "19200", "38400",
                                                            "57600", "115200"})),
                         QStringLiteral("baudRate"), QRect(8, 60, 74, 20), group_name[4]);
    baudRate_->setCurrentIndex(3);

    auto *externalPower = Named(new QRadioButton(QStringLiteral("外部控制"), groups[5]), QStringLiteral("externalPower"),
                                QRect(8, 30, 80, 20), QStringLiteral("外部控制"));
    auto *softwarePower = Named(new QRadioButton(QStringLiteral("软件控制"), groups[5]), QStringLiteral("softwarePower"),
                                QRect(8, 60, 80, 20), QStringLiteral("软件控制"));
    auto *powerLevel = Named(new RuleComboBox(groups[5], LevelItems()), QStringLiteral("powerLevel"), QRect(8, 95, 74, 20),
                             group_name[5] + QStringLiteral(" 级别"));

    continuousReread_ = Named(new QCheckBox(QStringLiteral("连续重读"), groups[6]), QStringLiteral("continuousReread"), QRect(8, 30, 80, 20),
                      QStringLiteral("连续重读"));
    rereadUnit_ = Named(new RuleComboBox(groups[6], Items({"分", "秒"})), QStringLiteral("rereadUnit"), QRect(8, 70, 74, 20),
                      group_name[6] + QStringLiteral(" 单位"));
    rereadUnit_->setCurrentIndex(1);
    rereadTime_ = Named(new RuleEdit(groups[6], RuleEdit::Filter::Digits), QStringLiteral("rereadTime"), QRect(16, 110, 60, 21),
                  group_name[6] + QStringLiteral(" 时间"));

    sendTimeEnabled_ = Named(new QCheckBox(groups[7]), QStringLiteral("sendTimeEnabled"), QRect(8, 30, 80, 20), group_name[7]);
    sendTimeEnabled_->setEnabled(false);
    sendTimeUnit_ = Named(new RuleComboBox(groups[7], Items({"秒", "0.1秒"})), QStringLiteral("sendTimeUnit"), QRect(8, 70, 74, 20),
                      group_name[7] + QStringLiteral(" 单位"));
    sendTimeUnit_->setCurrentIndex(0);
    sendTime_ = Named(new RuleEdit(groups[7], RuleEdit::Filter::Digits), QStringLiteral("sendTime"), QRect(16, 110, 60, 21),
                  group_name[7] + QStringLiteral(" 时间"));

    const QFont mirror_font = SongFont(13);
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const QString field = FieldObjectName(static_cast<Field>(i));
        RuleEdit *mirror = Named(new RuleEdit(groups[i], RuleEdit::Filter::None, 2), field + QStringLiteral("Mirror"),
                                 kMirrorRect, group_name[i] + QStringLiteral(" 十六进制"));
        mirror->setFont(mirror_font);
        mirrors_[i] = mirror;
        QPushButton *set = Named(new QPushButton(QStringLiteral("设 置"), groups[i]), field + QStringLiteral("SetButton"),
                                 kSetButtonRect, group_name[i] + QStringLiteral(" 设置"));
        set->setFont(mirror_font);
        setButtons_[i] = set;
    }
    wiegand_ = RadioListGroup(dipSwitchControl, wiegandOutput, wiegandFormat, Mirror(Field::wiegand),
                              {[] { return WiegandMirror(DipSwitchControl{}); },
                               [](int index) { return WiegandMirror(WiegandOutput{index}); }});
    power_ = RadioListGroup(externalPower, softwarePower, powerLevel, Mirror(Field::power),
                            {[] { return PowerMirror(ExternalControl{}); },
                             [](int index) { return PowerMirror(SoftwareControl{index}); }});
    Connect();
}

QString FieldObjectName(Field field)
{
    static const char *const kNames[kFieldCount] = {"ctrl",     "idAddress", "wiegand", "serialFormat",
                                                    "baudRate", "power",     "reread",  "sendTime"};
    return QString::fromLatin1(kNames[static_cast<std::size_t>(field)]);
}

QGroupBox *ParamPanel::MakeGroup(int index, const QString &caption)
{
    auto *g = new QGroupBox(caption, this);
    g->setObjectName(QStringLiteral("group%1").arg(index + 1));
    g->setGeometry(kGroupLeft[index], kGroupTop, kGroupWidth, kGroupHeight);
    g->setAccessibleName(caption.trimmed());
    return g;
}

void ParamPanel::Connect()
{
    // Every rule runs through RunHandler: an error escaping it goes to the
    // default error report, never through Qt's frames.
    auto guard = [this](std::function<void()> handler) -> std::function<void()> {
        return Guarded(this, std::move(handler));
    };
    auto rule = [this](void (ParamPanel::*handler)()) {
        return Guarded(this, [this, handler] { (this->*handler)(); });
    };
    auto on_click = [this](QPushButton *button, auto request) {
        connect(button, &QPushButton::clicked, this, [this, request] { request(this); });
    };
    on_click(factoryResetButton_, [](ParamPanel *p) { emit p->factoryResetRequested(); });
    on_click(setAllButton_, [](ParamPanel *p) { emit p->setAllRequested(); });
    on_click(queryButton_, [](ParamPanel *p) { emit p->queryRequested(); });
    for (std::size_t i = 0; i < kFieldCount; ++i)
        on_click(setButtons_[i], [field = static_cast<Field>(i)](ParamPanel *p) { emit p->fieldSetRequested(field); });

    connect(idAddress_, &QLineEdit::textChanged, this, rule(&ParamPanel::OnIdAddressEdited));
    idAddress_->OnExit = rule(&ParamPanel::OnIdAddressLeft);
    wiegand_.Connect(this, guard);
    serialFormat_->OnCloseUp = rule(&ParamPanel::OnSerialFormatClosed);
    baudRate_->OnCloseUp = rule(&ParamPanel::OnBaudRateClosed);
    power_.Connect(this, guard);
    connect(continuousReread_, &QCheckBox::toggled, this, rule(&ParamPanel::OnRereadModeToggled));
    rereadUnit_->OnCloseUp = rule(&ParamPanel::OnRereadUnitClosed);
    connect(rereadTime_, &QLineEdit::textChanged, this, rule(&ParamPanel::OnRereadTimeEdited));
    rereadTime_->OnExit = rule(&ParamPanel::OnRereadTimeLeft);
    sendTimeUnit_->OnCloseUp = rule(&ParamPanel::OnSendTimeUnitClosed);
    connect(sendTime_, &QLineEdit::textChanged, this, rule(&ParamPanel::OnSendTimeEdited));
    sendTime_->OnExit = rule(&ParamPanel::OnSendTimeLeft);
}

void ParamPanel::Apply(RuleEdit *box, QLineEdit *mirror, const RuleOutcome &outcome)
{
    if (outcome.message) {
        Warn(this, ToQ(*outcome.message));
        box->Refocus();
        return;
    }
    if (outcome.mirror)
        mirror->setText(ToQ(*outcome.mirror));
}

void ParamPanel::OnIdAddressEdited()
{
    Apply(idAddress_, Mirror(Field::id_addr), IdChange(ToStd(idAddress_->text())));
}

void ParamPanel::OnIdAddressLeft()
{
    try {
        Apply(idAddress_, Mirror(Field::id_addr), IdExit(ToStd(idAddress_->text())));
    } catch (...) {
        Warn(this, QString::fromUtf8(kIdFormatMessage));
        idAddress_->Refocus();
    }
}

void ParamPanel::OnSerialFormatClosed()
{
    Mirror(Field::serial_fmt)->setText(ToQ(SerialFmtMirror(serialFormat_->currentIndex())));
}

void ParamPanel::OnBaudRateClosed()
{
    Mirror(Field::baud)->setText(ToQ(BaudMirror(baudRate_->currentIndex())));
}

void ParamPanel::OnRereadModeToggled()
{
    const QString caption = ToQ(RereadModeCaption(continuousReread_->isChecked()));
    continuousReread_->setText(caption);
    continuousReread_->setAccessibleName(caption);
    rereadTime_->clear();
    Mirror(Field::reread)->clear();
}

void ParamPanel::OnRereadUnitClosed()
{
    rereadTime_->clear();
    Mirror(Field::reread)->clear();
}

void ParamPanel::OnRereadTimeEdited()
{
    Apply(rereadTime_, Mirror(Field::reread),
          RereadChange(ToStd(rereadTime_->text()), continuousReread_->isChecked(), rereadUnit_->currentIndex()));
}

void ParamPanel::OnRereadTimeLeft()
{
    // A text that does not parse (the empty text too) ends the rule quietly.
    if (const auto message = RereadExit(ToStd(rereadTime_->text()))) {
        Warn(this, ToQ(*message));
        rereadTime_->Refocus();
    }
}

void ParamPanel::OnSendTimeUnitClosed()
{
    sendTime_->clear();
    Mirror(Field::send_time)->clear();
}

void ParamPanel::OnSendTimeEdited()
{
    Apply(sendTime_, Mirror(Field::send_time), SendTimeChange(ToStd(sendTime_->text()), sendTimeUnit_->currentIndex()));
}

void ParamPanel::OnSendTimeLeft()
{
    // A text that does not parse (the empty text too) ends the rule quietly.
    if (const auto message = SendTimeExit(ToStd(sendTime_->text()))) {
        Warn(this, ToQ(*message));
        sendTime_->Refocus();
    }
}

} // namespace rovi::panel
