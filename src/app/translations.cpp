#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zk {

UiLanguage ChosenLanguage(std::optional<UiLanguage> option)
{
    if (option)
        return *option;
    return LanguageFromLocale([](const char *name) { return qEnvironmentVariable(name); });
}

bool InstallTranslations(UiLanguage language)
{
    auto *app = QCoreApplication::instance();
    const QString code = LanguageCode(language);
    // Qt's own texts (standard buttons, dialogs); missing is no fault.
    auto *qt = new QTranslator(app);
    if (qt->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    if (language == UiLanguage::Japanese)
        return true;
    auto *own = new QTranslator(app);
    return own->load(QStringLiteral(":/i18n/zenkoro_") + code) && QCoreApplication::installTranslator(own);
}

}  // namespace zk
