#pragma once

#include <QString>

namespace vantik::tools {

/// Wrong use of a tool: its message says what to do instead.
struct UsageError {
    QString message;
};

/// The environment variable the command-line tools take the ODBC password from.
inline constexpr const char* kPasswordVariable = "VANTIK_ODBC_PWD";

/// The connection string with the ODBC password added, braced so that ';' or '}'
/// in it are kept. The password never comes from the command line, where other
/// users of the machine can read it: a PWD= in the connection string is a
/// UsageError. It is taken from VANTIK_ODBC_PWD or, when that is not set, from the
/// first line of standard input (without echo at a terminal), unless standard
/// input is taken by something else. With Trusted_Connection=yes (the Windows
/// log-in) none is asked for and the string is returned as it is.
QString withPassword(const QString& connectionString, bool standardInputTaken);

} // namespace vantik::tools
