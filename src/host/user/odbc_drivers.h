#pragma once

#include <QStringList>

namespace vantik {

/// The ODBC drivers installed on this machine, as the driver manager lists them
/// (unixODBC's driver list, Windows' registry). Empty when it cannot be asked.
QStringList odbcDriverNames();

} // namespace vantik
