#pragma once

#include "rulecombobox.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>

class QLineEdit;
class QRadioButton;

namespace rovi::panel {

// A group of two radio buttons and a list, as the Wiegand and the power
// groups have: the first button is a fixed choice (the list empty and
// disabled), the second takes its choice from the list. Each choice writes
// the group's mirror: fixed(), or listed(index) for the list's index.
class RadioListGroup {
public:
    struct Rules {
        std::function<std::string()> fixed;
        std::function<std::string(int index)> listed;
    };

    RadioListGroup() = default;
    RadioListGroup(QRadioButton *fixed, QRadioButton *listed, RuleComboBox *list, QLineEdit *mirror, Rules rules);

    // Connects the buttons' and the list's rules; `guard` wraps each rule
    // (the panel's handler wrapper).
    void Connect(QObject *context, const std::function<std::function<void()>(std::function<void()>)> &guard);

    bool FixedChosen() const;
    bool ListedChosen() const;
    int ListIndex() const;

    // As a report sets it: the list's choice (the listed button checked, then
    // the index selected), or the fixed choice for nothing.
    void Show(std::optional<int> listed_index);

private:
    void ChooseFixed();
    void ChooseListed();
    void ListChanged();

    QRadioButton *fixed_ = nullptr;
    QRadioButton *listed_ = nullptr;
    RuleComboBox *list_ = nullptr;
    QLineEdit *mirror_ = nullptr;
    Rules rules_;
};

} // namespace rovi::panel
