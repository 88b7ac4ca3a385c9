#include "parampanel.h"

#include "mirrorrules.h"

#include "ui/messages.h"
#include "ui/qtext.h"
#include "ui/windows.h"

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
template <class W> W *Named(W *widget, const char *name, const QRect &rect, const QString &accessible)
{
    widget->setObjectName(QString::fromLatin1(name));
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
    setObjectName(QStringLiteral("GroupBox_panel"));
    QGroupBox *groups[8];
    for (int i = 0; i < 8; ++i)
        groups[i] = MakeGroup(i, QString::fromUtf8(kGroupCaptions[i]));
    const QString group_name[8] = {QStringLiteral("基础设置"), QStringLiteral("ID地址"), QStringLiteral("韦根格式"),
                                   QStringLiteral("串口格式"), QStringLiteral("波特率"), QStringLiteral("读卡距离调节"),
                                   QStringLiteral("防重读时间"), QStringLiteral("发送时间")};

    auto button = [](QWidget *g, const char *name, const char *caption, int y) {
        auto *b = Named(new QPushButton(QString::fromUtf8(caption), g), name, QRect(8, y, 74, 25),
                        QString::fromUtf8(caption));
        return b;
    };
    Button2 = button(groups[0], "Button2", "出厂设置", 30);
    BitBtn1 = button(groups[0], "BitBtn1", "全部设置", 80);
    Button1 = button(groups[0], "Button1", "查看参数", 130);

    Edit_set2 = Named(new RuleEdit(groups[1], RuleEdit::Filter::Digits), "Edit_set2", QRect(16, 60, 60, 21),
                      group_name[1] + QStringLiteral(" 数值"));
    Edit_set2->setText(QStringLiteral("1"));

    RadioButton1 = Named(new QRadioButton(QStringLiteral("拨码控制"), groups[2]), "RadioButton1",
                         QRect(8, 30, 80, 20), QStringLiteral("拨码控制"));
    RadioButton2 = Named(new QRadioButton(QStringLiteral("韦根输出"), groups[2]), "RadioButton2",
                         QRect(8, 60, 80, 20), QStringLiteral("韦根输出"));
    RadioButton1->setChecked(true);
    ComboBox_wg = Named(new RuleComboBox(groups[2], Items({"韦根26", "韦根34", "韦根36", "韦根44", "韦根禁止"})),
                        "ComboBox_wg", QRect(8, 95, 74, 20), group_name[2] + QStringLiteral(" 格式"));
    ComboBox_wg->setCurrentIndex(-1);
    ComboBox_wg->setEnabled(false);

    ComboBox3 = Named(new RuleComboBox(groups[3], Items({"标准格式", "16进制卡号", "10进制卡号", "串口禁止"})),
                      "ComboBox3", QRect(4, 60, 82, 20), group_name[3]);
    ComboBox_btl = Named(new RuleComboBox(groups[4], Items({"1200", "2400", "4800", "9600", "19200", "38400",
                                                            "57600", "115200"})),
                         "ComboBox_btl", QRect(8, 60, 74, 20), group_name[4]);
    ComboBox_btl->setCurrentIndex(3);

    RadioButton3 = Named(new QRadioButton(QStringLiteral("外部控制"), groups[5]), "RadioButton3",
                         QRect(8, 30, 80, 20), QStringLiteral("外部控制"));
    RadioButton4 = Named(new QRadioButton(QStringLiteral("软件控制"), groups[5]), "RadioButton4",
                         QRect(8, 60, 80, 20), QStringLiteral("软件控制"));
    RadioButton3->setChecked(true);
    ComboBox_gl = Named(new RuleComboBox(groups[5], LevelItems()), "ComboBox_gl", QRect(8, 95, 74, 20),
                        group_name[5] + QStringLiteral(" 级别"));
    ComboBox_gl->setCurrentIndex(-1);
    ComboBox_gl->setEnabled(false);

    CheckBox1 = Named(new QCheckBox(QStringLiteral("连续重读"), groups[6]), "CheckBox1", QRect(8, 30, 80, 20),
                      QStringLiteral("连续重读"));
    ComboBox1 = Named(new RuleComboBox(groups[6], Items({"分", "秒"})), "ComboBox1", QRect(8, 70, 74, 20),
                      group_name[6] + QStringLiteral(" 单位"));
    ComboBox1->setCurrentIndex(1);
    edit4 = Named(new RuleEdit(groups[6], RuleEdit::Filter::Digits), "edit4", QRect(16, 110, 60, 21),
                  group_name[6] + QStringLiteral(" 时间"));

    CheckBox3 = Named(new QCheckBox(groups[7]), "CheckBox3", QRect(8, 30, 80, 20), group_name[7]);
    CheckBox3->setEnabled(false);
    ComboBox2 = Named(new RuleComboBox(groups[7], Items({"秒", "0.1秒"})), "ComboBox2", QRect(8, 70, 74, 20),
                      group_name[7] + QStringLiteral(" 单位"));
    ComboBox2->setCurrentIndex(0);
    Edit1 = Named(new RuleEdit(groups[7], RuleEdit::Filter::Digits), "Edit1", QRect(16, 110, 60, 21),
                  group_name[7] + QStringLiteral(" 时间"));

    const QFont mirror_font = SongFont(13);
    RuleEdit **mirrors[8] = {&Edit_data1, &Edit_data2, &Edit_data3, &Edit_data4,
                             &Edit_data5, &Edit_data6, &Edit_data7, &Edit_data8};
    QPushButton **buttons[8] = {&BitBtn_set1, &BitBtn_set2, &BitBtn_set3, &BitBtn_set4,
                                &BitBtn_set5, &BitBtn_set6, &BitBtn_set7, &BitBtn_set8};
    for (int i = 0; i < 8; ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        RuleEdit *mirror = Named(new RuleEdit(groups[i], RuleEdit::Filter::None, 2), ("Edit_data" + n).constData(),
                                 kMirrorRect, group_name[i] + QStringLiteral(" 十六进制"));
        mirror->setFont(mirror_font);
        *mirrors[i] = mirror;
        QPushButton *set = Named(new QPushButton(QStringLiteral("设 置"), groups[i]), ("BitBtn_set" + n).constData(),
                                 kSetButtonRect, group_name[i] + QStringLiteral(" 设置"));
        set->setFont(mirror_font);
        *buttons[i] = set;
    }
    Connect();
}

std::array<RuleEdit *, 8> ParamPanel::Mirrors() const
{
    return {Edit_data1, Edit_data2, Edit_data3, Edit_data4, Edit_data5, Edit_data6, Edit_data7, Edit_data8};
}

std::array<QPushButton *, 8> ParamPanel::SetButtons() const
{
    return {BitBtn_set1, BitBtn_set2, BitBtn_set3, BitBtn_set4, BitBtn_set5, BitBtn_set6, BitBtn_set7, BitBtn_set8};
}

QGroupBox *ParamPanel::MakeGroup(int index, const QString &caption)
{
    auto *g = new QGroupBox(caption, this);
    g->setObjectName(QStringLiteral("GroupBox%1").arg(index + 1));
    g->setGeometry(kGroupLeft[index], kGroupTop, kGroupWidth, kGroupHeight);
    g->setAccessibleName(caption.trimmed());
    return g;
}

void ParamPanel::Connect()
{
    // Every rule runs through RunHandler: an error escaping it goes to the
    // default error report, never through Qt's frames.
    auto rule = [this](void (ParamPanel::*handler)()) {
        return Guarded(this, [this, handler] { (this->*handler)(); });
    };
    auto when_checked = [rule](void (ParamPanel::*handler)()) {
        return [run = rule(handler)](bool checked) {
            if (checked)
                run();
        };
    };
    connect(Edit_set2, &QLineEdit::textChanged, this, rule(&ParamPanel::Edit_set2Change));
    Edit_set2->OnExit = rule(&ParamPanel::Edit_set2Exit);
    connect(RadioButton1, &QRadioButton::toggled, this, when_checked(&ParamPanel::RadioButton1Click));
    connect(RadioButton2, &QRadioButton::toggled, this, when_checked(&ParamPanel::RadioButton2Click));
    ComboBox_wg->OnChange = rule(&ParamPanel::ComboBox_wgChange);
    ComboBox3->OnCloseUp = rule(&ParamPanel::ComboBox3CloseUp);
    ComboBox_btl->OnCloseUp = rule(&ParamPanel::ComboBox_btlCloseUp);
    connect(RadioButton3, &QRadioButton::toggled, this, when_checked(&ParamPanel::RadioButton3Click));
    connect(RadioButton4, &QRadioButton::toggled, this, when_checked(&ParamPanel::RadioButton4Click));
    ComboBox_gl->OnChange = rule(&ParamPanel::ComboBox_glChange);
    connect(CheckBox1, &QCheckBox::toggled, this, rule(&ParamPanel::CheckBox1Click));
    ComboBox1->OnCloseUp = rule(&ParamPanel::ComboBox1CloseUp);
    connect(edit4, &QLineEdit::textChanged, this, rule(&ParamPanel::edit4Change));
    edit4->OnExit = rule(&ParamPanel::edit4Exit);
    ComboBox2->OnCloseUp = rule(&ParamPanel::ComboBox2CloseUp);
    connect(Edit1, &QLineEdit::textChanged, this, rule(&ParamPanel::Edit1Change));
    Edit1->OnExit = rule(&ParamPanel::Edit1Exit);
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

void ParamPanel::Edit_set2Change()
{
    Apply(Edit_set2, Edit_data2, IdChange(ToStd(Edit_set2->text())));
}

void ParamPanel::Edit_set2Exit()
{
    try {
        Apply(Edit_set2, Edit_data2, IdExit(ToStd(Edit_set2->text())));
    } catch (...) {
        Warn(this, QString::fromUtf8(kIdFormatMessage));
        Edit_set2->Refocus();
    }
}

void ParamPanel::RadioButton1Click()
{
    ComboBox_wg->setCurrentIndex(-1);
    ComboBox_wg->setEnabled(false);
    Edit_data3->setText(ToQ(WiegandMirror(DipSwitchControl{})));
}

void ParamPanel::RadioButton2Click()
{
    ComboBox_wg->setCurrentIndex(0);
    ComboBox_wg->setEnabled(true);
    Edit_data3->setText(ToQ(WiegandMirror(WiegandOutput{0})));
}

void ParamPanel::ComboBox_wgChange()
{
    Edit_data3->setText(ToQ(WiegandMirror(WiegandOutput{ComboBox_wg->currentIndex()})));
}

void ParamPanel::ComboBox3CloseUp()
{
    Edit_data4->setText(ToQ(SerialFmtMirror(ComboBox3->currentIndex())));
}

void ParamPanel::ComboBox_btlCloseUp()
{
    Edit_data5->setText(ToQ(BaudMirror(ComboBox_btl->currentIndex())));
}

void ParamPanel::RadioButton3Click()
{
    ComboBox_gl->setCurrentIndex(-1);
    ComboBox_gl->setEnabled(false);
    Edit_data6->setText(ToQ(PowerMirror(ExternalControl{})));
}

void ParamPanel::RadioButton4Click()
{
    ComboBox_gl->setCurrentIndex(0);
    ComboBox_gl->setEnabled(true);
    Edit_data6->setText(ToQ(PowerMirror(SoftwareControl{0})));
}

void ParamPanel::ComboBox_glChange()
{
    Edit_data6->setText(ToQ(PowerMirror(SoftwareControl{ComboBox_gl->currentIndex()})));
}

void ParamPanel::CheckBox1Click()
{
    const QString caption = ToQ(RereadModeCaption(CheckBox1->isChecked()));
    CheckBox1->setText(caption);
    CheckBox1->setAccessibleName(caption);
    edit4->clear();
    Edit_data7->clear();
}

void ParamPanel::ComboBox1CloseUp()
{
    edit4->clear();
    Edit_data7->clear();
}

void ParamPanel::edit4Change()
{
    Apply(edit4, Edit_data7, RereadChange(ToStd(edit4->text()), CheckBox1->isChecked(), ComboBox1->currentIndex()));
}

void ParamPanel::edit4Exit()
{
    // A text that does not parse (the empty text too) ends the rule quietly.
    if (const auto message = RereadExit(ToStd(edit4->text()))) {
        Warn(this, ToQ(*message));
        edit4->Refocus();
    }
}

void ParamPanel::ComboBox2CloseUp()
{
    Edit1->clear();
    Edit_data8->clear();
}

void ParamPanel::Edit1Change()
{
    Apply(Edit1, Edit_data8, SendTimeChange(ToStd(Edit1->text()), ComboBox2->currentIndex()));
}

void ParamPanel::Edit1Exit()
{
    // A text that does not parse (the empty text too) ends the rule quietly.
    if (const auto message = SendTimeExit(ToStd(Edit1->text()))) {
        Warn(this, ToQ(*message));
        Edit1->Refocus();
    }
}

} // namespace rovi::panel
