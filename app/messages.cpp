#include "messages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <stdexcept>

namespace rovi {

namespace {

MessagePresenter &Presenter()
{
    static MessagePresenter presenter;
    return presenter;
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

void ShowMessage(const MessageRequest &request)
{
    if (Presenter()) {
        Presenter()(request);
        return;
    }
    QMessageBox box(ToQt(request.icon), request.title, request.text, QMessageBox::Ok, request.owner);
    box.exec();
}

void Warn(QWidget *owner, const QString &text)
{
    ShowMessage({owner, kAppTitle, text, MessageIcon::Warning});
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

void RunSilently(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (...) {
    }
}

} // namespace rovi

namespace rovi {

bool InstallChineseQtTranslation()
{
    static QTranslator translation;
    if (!translation.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translation);
}

} // namespace rovi
