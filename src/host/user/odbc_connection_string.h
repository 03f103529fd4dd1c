#pragma once

#include <QString>

namespace vantik {

/// What the clerk gives to reach SQL Server through ODBC. A DSN, when given, stands
/// for driver, server and port.
struct OdbcLogin {
    QString driver = QStringLiteral("FreeTDS");
    QString server;
    int port = 1433;
    QString database = QStringLiteral("Patient_Data");
    QString login;
    QString password;
    QString dsn;
};

/// One attribute value as ODBC connection strings take it: braced, with '}' doubled,
/// when it could otherwise be misread (';', '}', a leading '{', blanks at either end).
QString odbcAttributeValue(const QString& value);

/// The connection string for QODBC, e.g.
/// "DRIVER={FreeTDS};SERVER=host;PORT=1433;DATABASE=Patient_Data;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8;"
/// or "DSN=name;UID=u;PWD=p;".
QString odbcConnectionString(const OdbcLogin& login);

} // namespace vantik
