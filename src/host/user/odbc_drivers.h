#pragma once

#include <QString>
#include <QStringList>

namespace vantik {

inline constexpr const char* kOdbcInstIni = "/etc/odbcinst.ini";

/// The ODBC drivers installed on this machine: the section names of unixODBC's
/// driver list, without its [ODBC] options section. Empty when the file is missing.
QStringList odbcDriverNames(const QString& odbcInstIni = QString::fromLatin1(kOdbcInstIni));

} // namespace vantik
