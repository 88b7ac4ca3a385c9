#include "translation.h"

#include "base/texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>

namespace rovi {

namespace {

Language g_language = Language::Chinese;

QTranslator &Ours()
{
    static QTranslator translator;
    return translator;
}

QTranslator &Qts()
{
    static QTranslator translator;
    return translator;
}

std::string TranslateWithQt(const char *context, const char *source)
{
    return QCoreApplication::translate(context, source).toStdString();
}

} // namespace

bool UseLanguage(Language language)
{
    // The plain code's texts go through Qt's translators from the first choice on.
    static const bool hooked = (SetTextTranslator(&TranslateWithQt), true);
    (void)hooked;
    g_language = language;
    // Removing or installing a translator sends the LanguageChange.
    QCoreApplication::removeTranslator(&Ours());
    QCoreApplication::removeTranslator(&Qts());
    if (language == Language::English)
        return Ours().load(QStringLiteral(":/i18n/rovi-tool_en.qm")) && QCoreApplication::installTranslator(&Ours());
    return Qts().load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           QCoreApplication::installTranslator(&Qts());
}

Language CurrentLanguage()
{
    return g_language;
}

std::string SystemLocaleName()
{
#ifdef _WIN32
    const QStringList languages = QLocale::system().uiLanguages();
    return languages.isEmpty() ? QLocale::system().name().toStdString() : languages.front().toStdString();
#else
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char *value = std::getenv(name); value && *value)
            return value;
    return {};
#endif
}

} // namespace rovi
