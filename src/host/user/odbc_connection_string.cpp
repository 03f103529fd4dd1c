#include "host/user/odbc_connection_string.h"

namespace vantik {

namespace {

QString braced(const QString& value)
{
    QString inner = value;
    inner.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + inner + QLatin1Char('}');
}

bool isFreeTds(const QString& driver)
{
    return driver.trimmed().compare(QLatin1String("FreeTDS"), Qt::CaseInsensitive) == 0;
}

QString attribute(const char* key, const QString& value)
{
    return QLatin1String(key) + QLatin1Char('=') + odbcAttributeValue(value) + QLatin1Char(';');
}

} // namespace

QString odbcAttributeValue(const QString& value)
{
    // Drivers trim unbraced values, so a password with a blank at either end would
    // silently change; braces keep it exactly as typed.
    const bool blankAtAnEnd = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    const bool needsBraces = value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('}'))
        || value.startsWith(QLatin1Char('{')) || blankAtAnEnd;
    return needsBraces ? braced(value) : value;
}

QString odbcConnectionString(const OdbcLogin& login)
{
    QString text;
    if (!login.dsn.trimmed().isEmpty()) {
        text += attribute("DSN", login.dsn.trimmed());
    } else {
        // Driver names often hold blanks ("ODBC Driver 18 for SQL Server"): always braced.
        text += QLatin1String("DRIVER=") + braced(login.driver.trimmed()) + QLatin1Char(';');
        if (isFreeTds(login.driver)) {
            text += attribute("SERVER", login.server.trimmed());
            text += QStringLiteral("PORT=%1;").arg(login.port);
        } else {
            // Microsoft's driver ignores PORT and reads the port from the server name.
            text += attribute("SERVER", QStringLiteral("%1,%2").arg(login.server.trimmed()).arg(login.port));
        }
        text += attribute("DATABASE", login.database);
    }
    text += attribute("UID", login.login);
    text += attribute("PWD", login.password);
    if (login.dsn.trimmed().isEmpty() && isFreeTds(login.driver))
        text += QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;");
    return text;
}

} // namespace vantik
