#pragma once

#include "commandrules.h"
#include "rulecombobox.h"
#include "ruleedit.h"

#include "protocol/frame.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace rovi::panel {

struct RuleOutcome;

// The parameter panel: eight setting groups, each ending in a hex mirror and
// its set button. Each edit of a group's controls rewrites the group's mirror
// by the rules of mirrorrules.h; the controls are the panel's only state.
class ParamPanel : public QGroupBox {
public:
    explicit ParamPanel(QWidget *parent);

    // 基础设置
    QPushButton *Button2;  // 出厂设置
    QPushButton *BitBtn1;  // 全部设置
    QPushButton *Button1;  // 查看参数
    // ID地址
    RuleEdit *Edit_set2;
    // 韦根格式
    QRadioButton *RadioButton1; // 拨码控制
    QRadioButton *RadioButton2; // 韦根输出
    RuleComboBox *ComboBox_wg;
    // 串口格式
    RuleComboBox *ComboBox3;
    // 波特率
    RuleComboBox *ComboBox_btl;
    // 读卡距离调节
    QRadioButton *RadioButton3; // 外部控制
    QRadioButton *RadioButton4; // 软件控制
    RuleComboBox *ComboBox_gl;
    // 防重读时间
    QCheckBox *CheckBox1;
    RuleComboBox *ComboBox1;
    RuleEdit *edit4;
    // 发送时间
    QCheckBox *CheckBox3;
    RuleComboBox *ComboBox2;
    RuleEdit *Edit1;

    // The hex mirrors and set buttons, one per group, in field order.
    RuleEdit *Edit_data1, *Edit_data2, *Edit_data3, *Edit_data4, *Edit_data5, *Edit_data6, *Edit_data7,
        *Edit_data8;
    QPushButton *BitBtn_set1, *BitBtn_set2, *BitBtn_set3, *BitBtn_set4, *BitBtn_set5, *BitBtn_set6,
        *BitBtn_set7, *BitBtn_set8;
    std::array<RuleEdit *, 8> Mirrors() const;
    std::array<QPushButton *, 8> SetButtons() const;

    // What the buttons read of the controls.
    PanelSnapshot Snapshot() const;
    // Empties the eight mirrors (before a query).
    void ClearMirrors();
    // Writes a verified report into the controls and the mirrors.
    void ApplyReport(const Frame &report);

    // The rules.
    void Edit_set2Change();
    void Edit_set2Exit();
    void RadioButton1Click();
    void RadioButton2Click();
    void ComboBox_wgChange();
    void ComboBox3CloseUp();
    void ComboBox_btlCloseUp();
    void RadioButton3Click();
    void RadioButton4Click();
    void ComboBox_glChange();
    void CheckBox1Click();
    void ComboBox1CloseUp();
    void edit4Change();
    void edit4Exit();
    void ComboBox2CloseUp();
    void Edit1Change();
    void Edit1Exit();

private:
    QGroupBox *MakeGroup(int index, const QString &caption);
    void Apply(RuleEdit *box, QLineEdit *mirror, const RuleOutcome &outcome);
    void Connect();
};

} // namespace rovi::panel
