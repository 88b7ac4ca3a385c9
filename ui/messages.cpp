#include "messages.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <stdexcept>
#include <utility>

namespace rovi {

namespace {

MessagePresenter &Presenter()
{
    static MessagePresenter presenter;
    return presenter;
}

// The slot of the innermost MessageSlotScope, if any (window thread only).
MessageSlot *&ActiveSlot()
{
    static MessageSlot *slot = nullptr;
    return slot;
}

QMessageBox::Icon ToQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void SetMessagePresenter(MessagePresenter presenter)
{
    Presenter() = std::move(presenter);
}

namespace {

// Shows the request modally.
void Present(const MessageRequest &request)
{
    if (Presenter()) {
        Presenter()(request);
        return;
    }
    QMessageBox box(ToQt(request.icon), request.title, request.text, QMessageBox::Ok, request.owner);
    box.exec();
}

} // namespace

void ShowMessage(const MessageRequest &request)
{
    if (MessageSlot *slot = ActiveSlot()) {
        slot->Show(request);
        return;
    }
    Present(request);
}

QString MessageSlot::LaterLine(int later)
{
    return QCoreApplication::translate("MessageSlot", "（之后又收到 %1 条回复）").arg(later);
}

void MessageSlot::Replace(const MessageRequest &request)
{
    shown_ = request;
    later_ = 0;
    box_->setWindowTitle(request.title);
    box_->setIcon(ToQt(request.icon));
    box_->setText(request.text);
}

MessageSlot::~MessageSlot()
{
    delete box_.data();
}

void MessageSlot::Show(const MessageRequest &request)
{
    if (box_ && box_->isVisible()) { // a closed box goes at the next turn of the loop
        if (shown_.success) {
            Replace(request);
        } else {
            // A failure stays in view; the box says that more came.
            ++later_;
            box_->setText(shown_.text + QLatin1Char('\n') + LaterLine(later_));
        }
        return;
    }
    shown_ = request;
    later_ = 0;
    if (Presenter()) { // a recording presenter sees every message
        Presenter()(request);
        return;
    }
    // Modal as the program's other boxes are, but shown without a loop of
    // its own: the chunk handler that raised it returns, and the next
    // chunk's message finds it open.
    box_ = new QMessageBox(ToQt(request.icon), request.title, request.text, QMessageBox::Ok, request.owner);
    box_->setAttribute(Qt::WA_DeleteOnClose);
    box_->setWindowModality(Qt::ApplicationModal);
    box_->show();
}

MessageSlotScope::MessageSlotScope(MessageSlot &slot) : outer_(std::exchange(ActiveSlot(), &slot)) {}

MessageSlotScope::~MessageSlotScope()
{
    ActiveSlot() = outer_;
}

void Warn(QWidget *owner, const QString &text)
{
    ShowMessage({owner, kAppTitle, text, MessageIcon::Warning});
}

void WarnSuccess(QWidget *owner, const QString &text)
{
    ShowMessage({owner, kAppTitle, text, MessageIcon::Warning, true});
}

QString ErrorReportText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ReportError(QWidget *owner, const std::exception &error)
{
    ShowMessage({owner, kAppTitle, ErrorReportText(QString::fromUtf8(error.what())), MessageIcon::Error});
}

void RunHandler(QWidget *owner, const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const std::exception &e) {
        ReportError(owner, e);
    } catch (...) {
        ReportError(owner, std::runtime_error("Unknown error"));
    }
}

} // namespace rovi
