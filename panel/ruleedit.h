#pragma once

#include <QLineEdit>

#include <functional>

namespace rovi::panel {

// A single-line box with the panel's behaviour: an exit rule run when the
// focus leaves it for another control of the same window, and optionally
// the digit filter of the number boxes or the length limit of the hex
// mirrors. Both hold for every way text enters the box: typing, an input
// method's committed text, and (for the limit) pasting.
class RuleEdit : public QLineEdit {
public:
    enum class Filter { None, Digits };

    // A limit of 0 is none. The program only ever sets texts within it.
    explicit RuleEdit(QWidget *parent, Filter filter = Filter::None, int length_limit = 0);

    // Runs after the focus has moved away; calling Refocus() from it cancels the move.
    std::function<void()> OnExit;

    // Gives the box the focus again and selects its whole text. The box the
    // focus was moving to loses it without running its own exit rule.
    void Refocus();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool RejectsTyping(const QKeyEvent *event) const;

    Filter filter_;
};

} // namespace rovi::panel
