#pragma once

// The one way into the ODBC headers. Windows' sql.h uses the types of <windows.h>
// without including it. Qt builds with UNICODE on Windows, where SQLGetInfo and
// friends become their wide forms: the calls here name the wide forms themselves,
// so the same code is right under either setting and on unixODBC.
#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

namespace vantik::odbc {

/// The drivers the driver manager knows (unixODBC's odbcinst.ini, Windows' registry),
/// by the name a connection string's DRIVER takes. Empty when the driver manager
/// cannot be asked.
std::vector<std::u16string> installedDrivers();

/// A text answer of SQLGetInfo (SQL_DBMS_NAME...); empty when the driver gives none.
std::u16string infoText(SQLHDBC connection, SQLUSMALLINT infoType);

struct Diagnostic {
    std::u16string state;
    int native = 0;
    std::u16string message;
};

/// The diagnostic records the last call on the handle left.
std::vector<Diagnostic> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

} // namespace vantik::odbc
