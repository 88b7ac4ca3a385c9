#include "retranslate.h"

#include <QEvent>
#include <QWidget>

#include <utility>
#include <vector>

namespace rovi {

namespace {

// One per owner: its texts' setters, run on each LanguageChange it receives.
class TextSetters : public QObject {
public:
    explicit TextSetters(QWidget *owner) : QObject(owner)
    {
        setObjectName(QStringLiteral("textSetters"));
        owner->installEventFilter(this);
    }

    void Add(std::function<void()> set) { setters_.push_back(std::move(set)); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::LanguageChange && watched == parent())
            for (const auto &set : setters_)
                set();
        return false;
    }

private:
    std::vector<std::function<void()>> setters_;
};

} // namespace

void Retranslated(QWidget *owner, std::function<void()> set)
{
    // Only TextSetters are named so.
    auto *setters = static_cast<TextSetters *>(
        owner->findChild<QObject *>(QStringLiteral("textSetters"), Qt::FindDirectChildrenOnly));
    if (!setters)
        setters = new TextSetters(owner);
    set();
    setters->Add(std::move(set));
}

} // namespace rovi
