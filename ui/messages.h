#pragma once

// Every message box of the program goes through ShowMessage, so tests can
// record messages instead of running a modal loop.

#include <QPointer>
#include <QString>

#include <exception>
#include <functional>

class QMessageBox;
class QWidget;

namespace rovi {

inline const QString kAppTitle = QStringLiteral("ROVI-2.4Didodezi");

enum class MessageIcon { None, Warning, Error };

struct MessageRequest {
    QWidget *owner;
    QString title;
    QString text;
    MessageIcon icon;
    // A success ("设置成功"): a later message may take its place in a
    // MessageSlot's box. Anything else stays until the user closes it.
    bool success = false;
};

using MessagePresenter = std::function<void(const MessageRequest &)>;

// Replaces the presenter (tests); an empty one restores the real modal box.
void SetMessagePresenter(MessagePresenter presenter);

// Modal, owned by `owner`, OK button. The real box's nested loop keeps
// dispatching events, so receive events and timers run while it is open.
void ShowMessage(const MessageRequest &request);

// One box for a kind of message that must never nest: the messages that
// received data raises. The first opens a modal box, without a loop of its
// own: the handler that raised it returns at once. While it is open, later
// ones go into it instead of opening another box, so a line that keeps
// sending acknowledgements leaves one box on screen however long it goes
// on. A success shown there gives way to the next message; anything else
// (a failure) stays until the user closes the box, which then counts the
// messages that came after it on a second line.
class MessageSlot {
public:
    MessageSlot() = default;
    ~MessageSlot(); // closes its box
    MessageSlot(const MessageSlot &) = delete;
    MessageSlot &operator=(const MessageSlot &) = delete;

    void Show(const MessageRequest &request);

    // The second line of a failure's box after `later` more messages.
    static QString LaterLine(int later);

private:
    void Replace(const MessageRequest &request);

    QPointer<QMessageBox> box_; // open, or gone
    MessageRequest shown_{};
    int later_ = 0;
};

// Warn for a success: the same box, which a later message may replace.
void WarnSuccess(QWidget *owner, const QString &text);

// While alive, every message shown on the window thread goes through the
// slot.
class MessageSlotScope {
public:
    explicit MessageSlotScope(MessageSlot &slot);
    ~MessageSlotScope();
    MessageSlotScope(const MessageSlotScope &) = delete;
    MessageSlotScope &operator=(const MessageSlotScope &) = delete;

private:
    MessageSlot *outer_;
};

// The program's expected-problem message: application title, warning icon.
void Warn(QWidget *owner, const QString &text);

// The default error report: the error's message, with "." added when its
// last character sorts after ".", the application title and the error icon.
void ReportError(QWidget *owner, const std::exception &error);
QString ErrorReportText(const QString &message);

// Runs one event handler; an error escaping it is shown by the default error
// report and the program carries on. No exception crosses Qt's frames.
void RunHandler(QWidget *owner, const std::function<void()> &handler);

// The same as a slot for a signal connection: Guarded(owner, handler).
template <class Handler> auto Guarded(QWidget *owner, Handler handler)
{
    return [owner, handler] { RunHandler(owner, handler); };
}

} // namespace rovi
