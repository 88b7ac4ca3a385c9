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
    SetTextTranslator(&TranslateWithQt);
    QCoreApplication::removeTranslator(&Ours());
    QCoreApplication::removeTranslator(&Qts());
    g_language = language;
    bool loaded = true;
    if (language == Language::English) {
        loaded = Ours().load(kEnglishTranslation) && QCoreApplication::installTranslator(&Ours());
    } else {
        loaded = Qts().load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                 QCoreApplication::installTranslator(&Qts());
    }
    // Removing alone (nothing installed after it) changes the language too.
    if (!loaded) {
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &change);
    }
    return loaded;
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
