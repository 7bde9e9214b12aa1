#pragma once

#include <QString>

class QCoreApplication;

// Qt's own texts in Chinese: the buttons of the file, print and page-setup
// dialogs and of the message boxes Qt fills in itself. The catalogue comes
// with the system's Qt (package qt6-translations-l10n); without it those
// texts stay English and the program runs as before.
// False when the catalogue could not be loaded.
bool InstallQtTranslations(QCoreApplication &application);

// The same from the catalogue qtbase_zh_CN.qm in the given folder.
bool InstallQtTranslations(QCoreApplication &application, const QString &folder);
