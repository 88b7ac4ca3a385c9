#pragma once

#include <QComboBox>

#include <functional>

namespace rovi::panel {

// A drop-down list that accepts no typed text, with the panel's two rules:
// OnChange when the user changes the selection (mouse, arrow keys,
// type-ahead, wheel; also a backspace pressed in the focused list), and
// OnCloseUp every time the drop-down closes, however it closes. Selections
// set by the program run neither.
class RuleComboBox : public QComboBox {
public:
    RuleComboBox(QWidget *parent, const QStringList &items);

    std::function<void()> OnChange;
    std::function<void()> OnCloseUp;

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Activated(int index);

    int index_before_ = -1;
    bool filter_installed_ = false;
};

} // namespace rovi::panel
