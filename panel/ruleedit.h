#pragma once

#include <QLineEdit>

#include <functional>

namespace rovi::panel {

// A single-line box with the panel's behaviour: an exit rule run when the
// focus leaves it for another control of the same window, and optionally
// the digit filter of the number boxes or the typed-length limit of the
// hex mirrors (text set by the program is never cut).
class RuleEdit : public QLineEdit {
public:
    enum class Filter { None, Digits };

    explicit RuleEdit(QWidget *parent, Filter filter = Filter::None, int typed_limit = 0);

    // Runs after the focus has moved away; calling Refocus() from it cancels the move.
    std::function<void()> OnExit;

    // Gives the box the focus again and selects its whole text.
    void Refocus();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool RejectsTyping(const QKeyEvent *event) const;

    Filter filter_;
    int typed_limit_;
};

} // namespace rovi::panel
