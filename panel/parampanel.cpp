#include "parampanel.h"

#include "mirrorrules.h"

#include "ui/messages.h"
#include "ui/qtext.h"
#include "ui/baudrateitems.h"
#include "ui/captionroom.h"
#include "ui/dialogframe.h"
#include "ui/retranslate.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>

#include <utility>
#include <vector>

namespace rovi::panel {

namespace {

constexpr int kGroupLeft[8] = {9, 104, 199, 294, 389, 484, 579, 675};
constexpr int kGroupTop = 10;
constexpr int kGroupWidth = 90;
constexpr int kGroupHeight = 320;
const QRect kMirrorRect(16, 262, 60, 21);
const QRect kSetButtonRect(16, 289, 60, 25);
const QRect kRereadModeRect(8, 30, 80, 20);

// The groups' captions, padded as the panel has always shown them, and
// their names (which the controls' accessible names begin with).
const char *const kGroupCaptions[8] = {
    QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "  基础设置  "), QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "   ID地址   "),
    QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "  韦根格式  "), QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "  串口格式  "),
    QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "   波特率   "), QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "读卡距离调节"),
    QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", " 防重读时间 "), QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "  发送时间  ")};
const char *const kGroupNames[8] = {
    QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "基础设置"), QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "ID地址"),
    QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "韦根格式"), QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "串口格式"),
    QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "波特率"), QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "读卡距离调节"),
    QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "防重读时间"), QT_TRANSLATE_NOOP("rovi::panel::ParamPanel", "发送时间")};

// A list's items in place, its choice kept.
void SetItemTexts(QComboBox *box, const QStringList &texts)
{
    for (int i = 0; i < texts.size() && i < box->count(); ++i)
        box->setItemText(i, texts[i]);
}

// A mirror rule's words (plain code keeps them in Chinese) as shown.
QString RuleWords(const std::string &words)
{
    return QCoreApplication::translate("MirrorRules", words.c_str());
}

QStringList LevelItems()
{
    QStringList list;
    for (int level = 1; level <= 32; ++level)
        list << QString::number(level);
    return list;
}

template <class W> W *Named(W *widget, const QString &name, const QRect &rect)
{
    widget->setObjectName(name);
    widget->setGeometry(rect);
    return widget;
}

// A list's accessible name is its current value (Qt on Linux names a list by
// it, and would hide it behind a set name), so a list says what it is in its
// description; every other control in its name.
void SayWhatItIs(QWidget *widget, const QString &words)
{
    if (qobject_cast<QComboBox *>(widget))
        widget->setAccessibleDescription(words);
    else
        widget->setAccessibleName(words);
}

} // namespace

ParamPanel::ParamPanel(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("paramPanel"));
    QGroupBox *groups[8];
    for (int i = 0; i < 8; ++i)
        groups[i] = MakeGroup(i);

    auto button = [](QWidget *g, const char *name, int y) {
        return Named(new QPushButton(g), QString::fromLatin1(name), QRect(8, y, 74, 25));
    };
    factoryResetButton_ = button(groups[0], "factoryResetButton", 30);
    setAllButton_ = button(groups[0], "setAllButton", 80);
    queryButton_ = button(groups[0], "queryButton", 130);

    idAddress_ = Named(new RuleEdit(groups[1], RuleEdit::Filter::Digits), QStringLiteral("idAddress"), QRect(16, 60, 60, 21));
    idAddress_->setText(QStringLiteral("1"));

    auto *dipSwitchControl = Named(new QRadioButton(groups[2]), QStringLiteral("dipSwitchControl"), QRect(8, 30, 80, 20));
    auto *wiegandOutput = Named(new QRadioButton(groups[2]), QStringLiteral("wiegandOutput"), QRect(8, 60, 80, 20));
    auto *wiegandFormat = Named(new RuleComboBox(groups[2], QStringList(5, QString())), QStringLiteral("wiegandFormat"),
                                QRect(8, 95, 74, 20));

    serialFormat_ = Named(new RuleComboBox(groups[3], QStringList(4, QString())), QStringLiteral("serialFormat"),
                          QRect(4, 60, 82, 20));
    baudRate_ = Named(new RuleComboBox(groups[4], BaudRateItems()), QStringLiteral("baudRate"), QRect(8, 60, 74, 20));
    baudRate_->setCurrentIndex(kFactoryBaudIndex);

    auto *externalPower = Named(new QRadioButton(groups[5]), QStringLiteral("externalPower"), QRect(8, 30, 80, 20));
    auto *softwarePower = Named(new QRadioButton(groups[5]), QStringLiteral("softwarePower"), QRect(8, 60, 80, 20));
    auto *powerLevel = Named(new RuleComboBox(groups[5], LevelItems()), QStringLiteral("powerLevel"), QRect(8, 95, 74, 20));

    continuousReread_ = Named(new QCheckBox(groups[6]), QStringLiteral("continuousReread"), kRereadModeRect);
    rereadUnit_ = Named(new RuleComboBox(groups[6], QStringList(2, QString())), QStringLiteral("rereadUnit"),
                        QRect(8, 70, 74, 20));
    rereadUnit_->setCurrentIndex(1);
    rereadTime_ = Named(new RuleEdit(groups[6], RuleEdit::Filter::Digits), QStringLiteral("rereadTime"), QRect(16, 110, 60, 21));

    sendTimeEnabled_ = Named(new QCheckBox(groups[7]), QStringLiteral("sendTimeEnabled"), QRect(8, 30, 80, 20));
    sendTimeEnabled_->setEnabled(false);
    sendTimeUnit_ = Named(new RuleComboBox(groups[7], QStringList(2, QString())), QStringLiteral("sendTimeUnit"),
                          QRect(8, 70, 74, 20));
    sendTimeUnit_->setCurrentIndex(0);
    sendTime_ = Named(new RuleEdit(groups[7], RuleEdit::Filter::Digits), QStringLiteral("sendTime"), QRect(16, 110, 60, 21));

    const QFont mirror_font = SongFont(13);
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const QString field = FieldObjectName(static_cast<Field>(i));
        RuleEdit *mirror = Named(new RuleEdit(groups[i], RuleEdit::Filter::None, 2), field + QStringLiteral("Mirror"),
                                 kMirrorRect);
        mirror->setFont(mirror_font);
        mirrors_[i] = mirror;
        QPushButton *set = Named(new QPushButton(groups[i]), field + QStringLiteral("SetButton"), kSetButtonRect);
        set->setFont(mirror_font);
        setButtons_[i] = set;
    }

    // Captions longer than the Chinese ones may take more of their group.
    QAbstractButton *const captioned[] = {factoryResetButton_, setAllButton_, queryButton_, dipSwitchControl, wiegandOutput,
                                          externalPower,       softwarePower};
    std::vector<std::pair<QAbstractButton *, QRect>> places;
    for (QAbstractButton *b : captioned)
        places.emplace_back(b, b->geometry());
    Retranslated(this, [=, this] {
        QString name[8];
        for (int i = 0; i < 8; ++i) {
            name[i] = tr(kGroupNames[i]);
            groups[i]->setTitle(tr(kGroupCaptions[i]));
            groups[i]->setAccessibleName(name[i]);
        }
        const auto say = [](QAbstractButton *b, const QString &text) {
            b->setText(text);
            b->setAccessibleName(text);
        };
        say(factoryResetButton_, tr("出厂设置"));
        say(setAllButton_, tr("全部设置"));
        say(queryButton_, tr("查看参数"));
        SayWhatItIs(idAddress_, tr("%1 数值").arg(name[1]));
        say(dipSwitchControl, tr("拨码控制"));
        say(wiegandOutput, tr("韦根输出"));
        SetItemTexts(wiegandFormat, {tr("韦根26"), tr("韦根34"), tr("韦根36"), tr("韦根44"), tr("韦根禁止")});
        SayWhatItIs(wiegandFormat, tr("%1 格式").arg(name[2]));
        SetItemTexts(serialFormat_, {tr("标准格式"), tr("16进制卡号"), tr("10进制卡号"), tr("串口禁止")});
        SayWhatItIs(serialFormat_, name[3]);
        SayWhatItIs(baudRate_, name[4]);
        say(externalPower, tr("外部控制"));
        say(softwarePower, tr("软件控制"));
        SayWhatItIs(powerLevel, tr("%1 级别").arg(name[5]));
        ShowRereadMode();
        SetItemTexts(rereadUnit_, {tr("分"), tr("秒")});
        SayWhatItIs(rereadUnit_, tr("%1 单位").arg(name[6]));
        SayWhatItIs(rereadTime_, tr("%1 时间").arg(name[6]));
        SayWhatItIs(sendTimeEnabled_, name[7]);
        SetItemTexts(sendTimeUnit_, {tr("秒"), tr("0.1秒")});
        SayWhatItIs(sendTimeUnit_, tr("%1 单位").arg(name[7]));
        SayWhatItIs(sendTime_, tr("%1 时间").arg(name[7]));
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            SayWhatItIs(mirrors_[i], tr("%1 十六进制").arg(name[i]));
            setButtons_[i]->setText(tr("设 置"));
            SayWhatItIs(setButtons_[i], tr("%1 设置").arg(name[i]));
        }
        for (const auto &[button, place] : places)
            FitCaption(*button, place);
    });
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

QGroupBox *ParamPanel::MakeGroup(int index)
{
    auto *g = new QGroupBox(this);
    g->setObjectName(QStringLiteral("group%1").arg(index + 1));
    g->setGeometry(kGroupLeft[index], kGroupTop, kGroupWidth, kGroupHeight);
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
        Warn(this, RuleWords(*outcome.message));
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
        Warn(this, RuleWords(kIdFormatMessage));
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

void ParamPanel::ShowRereadMode()
{
    const QString caption = RuleWords(RereadModeCaption(continuousReread_->isChecked()));
    continuousReread_->setText(caption);
    continuousReread_->setAccessibleName(caption);
    FitCaption(*continuousReread_, kRereadModeRect);
}

void ParamPanel::OnRereadModeToggled()
{
    ShowRereadMode();
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
        Warn(this, RuleWords(*message));
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
        Warn(this, RuleWords(*message));
        sendTime_->Refocus();
    }
}

} // namespace rovi::panel
