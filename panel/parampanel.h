#pragma once

#include "commandrules.h"
#include "radiolistgroup.h"
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
// The buttons say what the user asked for through the signals; whoever talks
// to the reader takes a Snapshot() to build the frame, and gives a reader's
// report back through ApplyReport().
//
// The controls' object names: factoryResetButton, setAllButton, queryButton,
// idAddress, dipSwitchControl, wiegandOutput, wiegandFormat, serialFormat,
// baudRate, externalPower, softwarePower, powerLevel, continuousReread,
// rereadUnit, rereadTime, sendTimeEnabled, sendTimeUnit, sendTime, and for
// each field (FieldObjectName) its mirror "<field>Mirror" and its button
// "<field>SetButton".
class ParamPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ParamPanel(QWidget *parent);

    // What the buttons read of the controls.
    PanelSnapshot Snapshot() const;
    // Empties the eight mirrors (before a query).
    void ClearMirrors();
    // Writes a verified report into the controls and the mirrors.
    void ApplyReport(const Frame &report);
    // Writes a profile's fields as a report would; a field it leaves out
    // (byte 0) keeps its controls and has its mirror emptied, so 全部设置
    // leaves it unchanged on the reader.
    void ApplyProfile(const FieldBytes &fields);

signals:
    void queryRequested();               // 查看参数
    void factoryResetRequested();        // 出厂设置
    void setAllRequested();              // 全部设置
    void fieldSetRequested(rovi::Field field); // a group's 设 置

private:
    QGroupBox *MakeGroup(int index);
    void ShowRereadMode(); // the reread box's caption says its mode
    void Apply(RuleEdit *box, QLineEdit *mirror, const RuleOutcome &outcome);
    void Connect();
    void ApplyFields(const FieldBytes &fields);
    RuleEdit *Mirror(Field field) const { return mirrors_[static_cast<std::size_t>(field)]; }

    // The rules, one per control and event.
    void OnIdAddressEdited();
    void OnIdAddressLeft();
    void OnSerialFormatClosed();
    void OnBaudRateClosed();
    void OnRereadModeToggled();
    void OnRereadUnitClosed();
    void OnRereadTimeEdited();
    void OnRereadTimeLeft();
    void OnSendTimeUnitClosed();
    void OnSendTimeEdited();
    void OnSendTimeLeft();

    // 基础设置
    QPushButton *factoryResetButton_;
    QPushButton *setAllButton_;
    QPushButton *queryButton_;
    // ID地址
    RuleEdit *idAddress_;
    // 韦根格式: the reader's DIP switches, or a Wiegand format from the list
    RadioListGroup wiegand_;
    // 串口格式
    RuleComboBox *serialFormat_;
    // 波特率
    RuleComboBox *baudRate_;
    // 读卡距离调节: set by the reader's input, or a level from the list
    RadioListGroup power_;
    // 防重读时间
    QCheckBox *continuousReread_;
    RuleComboBox *rereadUnit_;
    RuleEdit *rereadTime_;
    // 发送时间
    QCheckBox *sendTimeEnabled_;
    RuleComboBox *sendTimeUnit_;
    RuleEdit *sendTime_;
    // One hex mirror and one set button per field, indexed by Field.
    std::array<RuleEdit *, kFieldCount> mirrors_{};
    std::array<QPushButton *, kFieldCount> setButtons_{};
};

// The name a field's controls carry in their object names ("wiegand" gives
// "wiegandMirror" and "wiegandSetButton").
QString FieldObjectName(Field field);

} // namespace rovi::panel
