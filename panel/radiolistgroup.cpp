#include "radiolistgroup.h"

#include "ui/qtext.h"

#include <QLineEdit>
#include <QRadioButton>

namespace rovi::panel {

RadioListGroup::RadioListGroup(QRadioButton *fixed, QRadioButton *listed, RuleComboBox *list, QLineEdit *mirror,
                               Rules rules)
    : fixed_(fixed), listed_(listed), list_(list), mirror_(mirror), rules_(std::move(rules))
{
    fixed_->setChecked(true);
    list_->setCurrentIndex(-1);
    list_->setEnabled(false);
}

void RadioListGroup::Connect(QObject *context,
                             const std::function<std::function<void()>(std::function<void()>)> &guard)
{
    // A radio button's rule runs when it becomes checked, by the user or the program.
    auto when_checked = [](std::function<void()> run) {
        return [run = std::move(run)](bool checked) {
            if (checked)
                run();
        };
    };
    QObject::connect(fixed_, &QRadioButton::toggled, context, when_checked(guard([this] { ChooseFixed(); })));
    QObject::connect(listed_, &QRadioButton::toggled, context, when_checked(guard([this] { ChooseListed(); })));
    list_->OnChange = guard([this] { ListChanged(); });
}

bool RadioListGroup::FixedChosen() const
{
    return fixed_->isChecked();
}

bool RadioListGroup::ListedChosen() const
{
    return listed_->isChecked();
}

int RadioListGroup::ListIndex() const
{
    return list_->currentIndex();
}

void RadioListGroup::Show(std::optional<int> listed_index)
{
    if (listed_index) {
        listed_->setChecked(true);
        list_->setCurrentIndex(*listed_index);
    } else {
        fixed_->setChecked(true);
    }
}

void RadioListGroup::ChooseFixed()
{
    list_->setCurrentIndex(-1);
    list_->setEnabled(false);
    mirror_->setText(ToQ(rules_.fixed()));
}

void RadioListGroup::ChooseListed()
{
    list_->setCurrentIndex(0);
    list_->setEnabled(true);
    mirror_->setText(ToQ(rules_.listed(0)));
}

void RadioListGroup::ListChanged()
{
    mirror_->setText(ToQ(rules_.listed(list_->currentIndex())));
}

} // namespace rovi::panel
