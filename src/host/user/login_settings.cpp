#include "host/user/login_settings.h"

#include "host/data/settings_store.h"
#include "host/demodata/demo_folder.h"

#include <QDir>
#include <QFileInfo>

namespace vantik {

namespace {

const QString kApplication = QString::fromLatin1(kSettingsApplication);
const QString kSection = QString::fromLatin1(kSettingsSection);

QString readValue(const SettingsStore& settings, const char* key, const QString& defaultValue = QString())
{
    return settings.read(kApplication, kSection, QString::fromLatin1(key), defaultValue);
}

void writeValue(SettingsStore& settings, const char* key, const QString& value)
{
    settings.write(kApplication, kSection, QString::fromLatin1(key), value);
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

} // namespace

QString installedProgramFolder()
{
    return QStringLiteral(VANTIK_INSTALLED_PROGRAM_FOLDER);
}

QString defaultEmbeddedFolder(const QString& exeFolder, const QString& installedFolder)
{
    const QDir exe(exeFolder.isEmpty() ? QDir::currentPath() : exeFolder);
    const QString beside = QDir::cleanPath(exe.filePath(QStringLiteral("demo-db")));
    const QString above = QDir::cleanPath(exe.filePath(QStringLiteral("../demo-db")));
    if (QDir(beside).exists())
        return beside;
    if (QDir(above).exists())
        return above;
    // Installed, the folder above the program's is the system's (/usr), which no
    // clerk can write to and the program never does.
    const QString own = QString::fromStdString(defaultDemoFolder());
    const QString installed = QFileInfo(installedFolder).canonicalFilePath();
    if (!own.isEmpty() && !installed.isEmpty() && QFileInfo(exe.path()).canonicalFilePath() == installed)
        return own;
    return above;
}

LoginChoices loadLoginChoices(const SettingsStore& settings, const QString& exeFolder)
{
    LoginChoices choices;
    choices.backend = readValue(settings, "Backend") == QLatin1String("ODBC") ? DatabaseBackend::Odbc
                                                                             : DatabaseBackend::Embedded;
    choices.folder = readValue(settings, "Folder");
    if (choices.folder.isEmpty())
        choices.folder = defaultEmbeddedFolder(exeFolder);
    choices.odbc.driver = readValue(settings, "Driver", choices.odbc.driver);
    choices.odbc.server = readValue(settings, "Server");
    bool portOk = false;
    const int port = readValue(settings, "Port").toInt(&portOk);
    if (portOk && port > 0 && port <= 65535)
        choices.odbc.port = port;
    choices.odbc.login = readValue(settings, "SqlLogin");
    choices.odbc.dsn = readValue(settings, "Dsn");
    choices.odbc.encrypt = odbcEncryptFromText(readValue(settings, "Encrypt"));
    choices.odbc.trustServerCertificate = readValue(settings, "TrustServerCertificate") == QLatin1String("yes");
    choices.odbc.windowsAuthentication = readValue(settings, "WindowsAuthentication") == QLatin1String("yes");
    choices.userName = readValue(settings, "UserName");
    return choices;
}

void saveLoginChoices(SettingsStore& settings, const LoginChoices& choices)
{
    writeValue(settings, "Backend",
               choices.backend == DatabaseBackend::Odbc ? QStringLiteral("ODBC") : QStringLiteral("Embedded"));
    writeValue(settings, "Folder", choices.folder);
    writeValue(settings, "Driver", choices.odbc.driver);
    writeValue(settings, "Server", choices.odbc.server);
    writeValue(settings, "Port", QString::number(choices.odbc.port));
    writeValue(settings, "SqlLogin", choices.odbc.login);
    writeValue(settings, "Dsn", choices.odbc.dsn);
    writeValue(settings, "Encrypt", odbcEncryptText(choices.odbc.encrypt));
    writeValue(settings, "TrustServerCertificate", yesNo(choices.odbc.trustServerCertificate));
    writeValue(settings, "WindowsAuthentication", yesNo(choices.odbc.windowsAuthentication));
    writeValue(settings, "UserName", choices.userName);
}

} // namespace vantik
