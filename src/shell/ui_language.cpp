#include "shell/ui_language.h"

namespace zk {

std::optional<UiLanguage> LanguageFromOption(const QString &word)
{
    if (word == u"ja")
        return UiLanguage::Japanese;
    if (word == u"en")
        return UiLanguage::English;
    return std::nullopt;
}

UiLanguage LanguageFromLocale(const std::function<QString(const char *name)> &env)
{
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        // LANGUAGE is a list ("fr:en"); the first entry is the wanted one.
        const QString value = env(name).section(QLatin1Char(':'), 0, 0);
        if (value.isEmpty())
            continue;
        // "ja_JP.UTF-8", "C.UTF-8", "POSIX": the language is before '_', '.' and '@'.
        const QString lang = value.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0)
                                 .section(QLatin1Char('_'), 0, 0);
        if (lang == u"ja" || lang == u"C" || lang == u"POSIX")
            return UiLanguage::Japanese;
        return UiLanguage::English;
    }
    return UiLanguage::Japanese;
}

QString LanguageCode(UiLanguage language)
{
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("ja");
}

}  // namespace zk
