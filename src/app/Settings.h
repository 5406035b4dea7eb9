#pragma once

#include <QSettings>

// What the program remembers between sessions, such as how the user left the grid's columns:
// an INI file in the user's configuration folder.
inline QSettings userSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kalvora"), QStringLiteral("Kalvora"));
}
