#include "UTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtTranslations(QCoreApplication &application)
{
    return InstallQtTranslations(application, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool InstallQtTranslations(QCoreApplication &application, const QString &folder)
{
    // The translator lives as long as the application object that owns it.
    auto *translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
