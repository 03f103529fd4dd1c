#include "host/user/odbc_connection_string.h"

namespace vantik {

namespace {

QString braced(const QString& value)
{
    QString inner = value;
    inner.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + inner + QLatin1Char('}');
}

QString attribute(const char* key, const QString& value)
{
    return QLatin1String(key) + QLatin1Char('=') + odbcAttributeValue(value) + QLatin1Char(';');
}

QString serverAttributes(const OdbcLogin& login, bool freeTds)
{
    const QString server = login.server.trimmed();
    if (serverNamesInstanceOrPort(server))
        return attribute("SERVER", server);
    if (freeTds)
        return attribute("SERVER", server) + QStringLiteral("PORT=%1;").arg(login.port);
    // Microsoft's driver ignores PORT and reads the port from the server name.
    return attribute("SERVER", QStringLiteral("%1,%2").arg(server).arg(login.port));
}

QString encryptionAttributes(const OdbcLogin& login, bool freeTds)
{
    if (freeTds) {
        // FreeTDS checks a certificate only where its own configuration names the
        // authorities to trust, so there is nothing to say about trusting one here.
        switch (login.encrypt) {
        case OdbcEncrypt::Yes:
        case OdbcEncrypt::Strict: // refused by odbcLoginProblem before it gets here
            return QStringLiteral("Encryption=require;");
        case OdbcEncrypt::No:
            return QStringLiteral("Encryption=off;");
        case OdbcEncrypt::DriverDefault:
            return QString();
        }
        return QString();
    }
    QString text;
    if (login.encrypt != OdbcEncrypt::DriverDefault)
        text += QStringLiteral("Encrypt=%1;").arg(odbcEncryptText(login.encrypt));
    if (login.trustServerCertificate)
        text += QStringLiteral("TrustServerCertificate=yes;");
    return text;
}

} // namespace

QString odbcEncryptText(OdbcEncrypt encrypt)
{
    switch (encrypt) {
    case OdbcEncrypt::Yes:
        return QStringLiteral("yes");
    case OdbcEncrypt::No:
        return QStringLiteral("no");
    case OdbcEncrypt::Strict:
        return QStringLiteral("strict");
    case OdbcEncrypt::DriverDefault:
        break;
    }
    return QString();
}

OdbcEncrypt odbcEncryptFromText(const QString& text)
{
    for (const OdbcEncrypt e : {OdbcEncrypt::Yes, OdbcEncrypt::No, OdbcEncrypt::Strict}) {
        if (text.trimmed().compare(odbcEncryptText(e), Qt::CaseInsensitive) == 0)
            return e;
    }
    return OdbcEncrypt::DriverDefault;
}

bool isFreeTdsDriver(const QString& driver)
{
    return driver.trimmed().compare(QLatin1String("FreeTDS"), Qt::CaseInsensitive) == 0;
}

bool serverNamesInstanceOrPort(const QString& server)
{
    return server.contains(QLatin1Char('\\')) || server.contains(QLatin1Char(','));
}

QString odbcLoginProblem(const OdbcLogin& login)
{
    if (login.dsn.trimmed().isEmpty() && isFreeTdsDriver(login.driver) && login.encrypt == OdbcEncrypt::Strict)
        return QStringLiteral("FreeTDS cannot encrypt strictly: choose Encrypt \"yes\", or Microsoft's ODBC Driver "
                              "18 for SQL Server as the driver.");
    return QString();
}

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
    const bool byDsn = !login.dsn.trimmed().isEmpty();
    const bool freeTds = !byDsn && isFreeTdsDriver(login.driver);
    QString text;
    if (byDsn) {
        text += attribute("DSN", login.dsn.trimmed());
    } else {
        // Driver names often hold blanks ("ODBC Driver 18 for SQL Server"): always braced.
        text += QLatin1String("DRIVER=") + braced(login.driver.trimmed()) + QLatin1Char(';');
        text += serverAttributes(login, freeTds);
        text += attribute("DATABASE", login.database);
    }
    if (login.windowsAuthentication) {
        text += QStringLiteral("Trusted_Connection=yes;");
    } else {
        text += attribute("UID", login.login);
        text += attribute("PWD", login.password);
    }
    if (!byDsn)
        text += encryptionAttributes(login, freeTds);
    if (freeTds)
        text += QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;");
    return text;
}

} // namespace vantik
