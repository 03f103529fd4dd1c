#pragma once

#include "host/user/odbc_connection_string.h"

#include <QString>

namespace vantik {

class SettingsStore;

enum class DatabaseBackend { Embedded, Odbc };

/// What the log-in dialog remembers between runs. Passwords are never part of it.
struct LoginChoices {
    DatabaseBackend backend = DatabaseBackend::Embedded;
    QString folder;
    OdbcLogin odbc; // its password is never read from nor written to the store
    QString userName;
};

inline constexpr const char* kSettingsApplication = "VANTIK";
inline constexpr const char* kSettingsSection = "CurrentUser";

/// The remembered choices; a folder never chosen is the demo database next to the program.
LoginChoices loadLoginChoices(const SettingsStore& settings, const QString& exeFolder);
void saveLoginChoices(SettingsStore& settings, const LoginChoices& choices);

/// The folder an installed program runs from (the install prefix's bin).
QString installedProgramFolder();

/// The embedded database folder to offer when none is remembered: the first existing
/// of <exe>/demo-db and <exe>/../demo-db; else, for a program run from `installedFolder`,
/// the clerk's own demo folder (where vantik-demo-db writes by default); else
/// <exe>/../demo-db (where the demo script makes it beside a build).
QString defaultEmbeddedFolder(const QString& exeFolder, const QString& installedFolder = installedProgramFolder());

} // namespace vantik
