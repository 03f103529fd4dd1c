#pragma once

#include <QString>

namespace vantik {

/// How the link to the server is encrypted. The driver's own default is kept unless
/// the clerk chooses: Microsoft's Driver 18 encrypts by default, 17 and FreeTDS do not.
enum class OdbcEncrypt { DriverDefault, Yes, No, Strict };

/// What the clerk gives to reach SQL Server through ODBC. A DSN, when given, stands
/// for driver, server, port and encryption.
struct OdbcLogin {
    QString driver = QStringLiteral("FreeTDS");
    QString server; // host, host\instance or host,port
    int port = 1433; // used only when the server names neither an instance nor a port
    QString database = QStringLiteral("Patient_Data");
    QString login;
    QString password;
    QString dsn;
    OdbcEncrypt encrypt = OdbcEncrypt::DriverDefault;
    bool trustServerCertificate = false;
    bool windowsAuthentication = false; // the clerk's Windows log-in: no SQL login or password is sent
};

/// "yes", "no", "strict", or empty for the driver's default; and back (anything
/// else reads as the driver's default).
QString odbcEncryptText(OdbcEncrypt encrypt);
OdbcEncrypt odbcEncryptFromText(const QString& text);

bool isFreeTdsDriver(const QString& driver);

/// True when the server's name carries its own way to the server (host\instance,
/// host,port): the port is then not added.
bool serverNamesInstanceOrPort(const QString& server);

/// Empty when the choices can be tried; else what the clerk must change.
QString odbcLoginProblem(const OdbcLogin& login);

/// One attribute value as ODBC connection strings take it: braced, with '}' doubled,
/// when it could otherwise be misread (';', '}', a leading '{', blanks at either end).
QString odbcAttributeValue(const QString& value);

/// The connection string for QODBC, e.g.
/// "DRIVER={FreeTDS};SERVER=host;PORT=1433;DATABASE=Patient_Data;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8;"
/// or "DSN=name;UID=u;PWD=p;". Microsoft's drivers take Encrypt and
/// TrustServerCertificate; FreeTDS its own Encryption key.
QString odbcConnectionString(const OdbcLogin& login);

} // namespace vantik
