#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallTranslations(QCoreApplication &app, const QLocale &locale)
{
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return false;
    // Qt's dialogs (file and print dialogs, standard buttons) in the same language.
    auto *qt = new QTranslator(&app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    auto *own = new QTranslator(&app);
    if (own->load(locale, QStringLiteral("snapgrid-atlas"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
        QCoreApplication::installTranslator(own);
        return true;
    }
    delete own;
    return false;
}
