#pragma once
#include <QLocale>

class QCoreApplication;

// Installs the program's and Qt's own translations for the locale's language
// into the application (the translators are its children). English is the
// source language and needs none. Returns whether the program's own
// translation was found.
bool InstallTranslations(QCoreApplication &app, const QLocale &locale = QLocale());
