#pragma once

// The window's controls as a test reaches them: by their object names, as a
// user's tools (and the accessibility tree) see them, not through members.

#include "panel/logview.h"
#include "panel/parampanel.h"
#include "panel/rulecombobox.h"
#include "panel/ruleedit.h"
#include "protocol/frame.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace rovi::test {

// The child of `root` with this object name and type; a test failure (and
// nullptr) when there is none.
template <class W> W *Child(const QObject *root, const QString &name)
{
    W *w = root->findChild<W *>(name);
    if (!w)
        ADD_FAILURE() << "no control named " << name.toStdString();
    return w;
}

struct PanelControls {
    explicit PanelControls(const QObject *root)
        : factoryResetButton(Child<QPushButton>(root, "factoryResetButton")),
          setAllButton(Child<QPushButton>(root, "setAllButton")), queryButton(Child<QPushButton>(root, "queryButton")),
          idAddress(Child<panel::RuleEdit>(root, "idAddress")),
          dipSwitchControl(Child<QRadioButton>(root, "dipSwitchControl")),
          wiegandOutput(Child<QRadioButton>(root, "wiegandOutput")),
          wiegandFormat(Child<panel::RuleComboBox>(root, "wiegandFormat")),
          serialFormat(Child<panel::RuleComboBox>(root, "serialFormat")),
          baudRate(Child<panel::RuleComboBox>(root, "baudRate")),
          externalPower(Child<QRadioButton>(root, "externalPower")),
          softwarePower(Child<QRadioButton>(root, "softwarePower")),
          powerLevel(Child<panel::RuleComboBox>(root, "powerLevel")),
          continuousReread(Child<QCheckBox>(root, "continuousReread")),
          rereadUnit(Child<panel::RuleComboBox>(root, "rereadUnit")),
          rereadTime(Child<panel::RuleEdit>(root, "rereadTime")),
          sendTimeEnabled(Child<QCheckBox>(root, "sendTimeEnabled")),
          sendTimeUnit(Child<panel::RuleComboBox>(root, "sendTimeUnit")),
          sendTime(Child<panel::RuleEdit>(root, "sendTime"))
    {
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            const QString field = panel::FieldObjectName(static_cast<Field>(i));
            mirrors[i] = Child<panel::RuleEdit>(root, field + "Mirror");
            setButtons[i] = Child<QPushButton>(root, field + "SetButton");
        }
    }

    panel::RuleEdit *Mirror(Field f) const { return mirrors[static_cast<std::size_t>(f)]; }
    QPushButton *SetButton(Field f) const { return setButtons[static_cast<std::size_t>(f)]; }
    const std::array<panel::RuleEdit *, kFieldCount> &Mirrors() const { return mirrors; }

    QPushButton *factoryResetButton, *setAllButton, *queryButton;
    panel::RuleEdit *idAddress;
    QRadioButton *dipSwitchControl, *wiegandOutput;
    panel::RuleComboBox *wiegandFormat, *serialFormat, *baudRate;
    QRadioButton *externalPower, *softwarePower;
    panel::RuleComboBox *powerLevel;
    QCheckBox *continuousReread;
    panel::RuleComboBox *rereadUnit;
    panel::RuleEdit *rereadTime;
    QCheckBox *sendTimeEnabled;
    panel::RuleComboBox *sendTimeUnit;
    panel::RuleEdit *sendTime;
    std::array<panel::RuleEdit *, kFieldCount> mirrors{};
    std::array<QPushButton *, kFieldCount> setButtons{};
};

struct MonitorControls {
    explicit MonitorControls(const QObject *root)
        : rawHexInput(Child<QLineEdit>(root, "rawHexInput")), sendRawButton(Child<QPushButton>(root, "sendRawButton")),
          hexLog(Child<panel::LogView>(root, "hexLog")), textLog(Child<panel::LogView>(root, "textLog")),
          receiveCounter(Child<QLineEdit>(root, "receiveCounter")), clearButton(Child<QPushButton>(root, "clearButton"))
    {
    }

    QLineEdit *rawHexInput;
    QPushButton *sendRawButton;
    panel::LogView *hexLog, *textLog;
    QLineEdit *receiveCounter;
    QPushButton *clearButton;
};

} // namespace rovi::test
