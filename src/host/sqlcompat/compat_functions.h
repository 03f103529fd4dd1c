#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace vantik::sqlcompat {

/// Name of the collation that reproduces SQL Server's default
/// (SQL_Latin1_General_CP1_CI_AS): letter case ignored, trailing blanks ignored.
inline constexpr const char* kCollationName = "TSQL";

/// Registers on one SQLite connection (they are per connection) the collation
/// above and the functions that translated statements call:
///   tsql_style0(x)            CONVERT(varchar, x, 0); NULL stays NULL; non-dates as text
///   tsql_datediff_day(a, b)   DATEDIFF(day, a, b); NULL if either is NULL
///   tsql_month(x), tsql_year(x)
///   tsql_varchar(x, n)        CAST(x AS VARCHAR(n)): text, cut to n characters; n = -1 is VARCHAR(MAX),
///                             tsql_varchar(x) is VARCHAR(30); as on the server an integer too long
///                             for n gives "*" and a decimal too long an overflow error
///   tsql_varchar(x, n, u, k)  the same for NVARCHAR when u is 1 (an integer too long is an error);
///                             k is a decimal's scale (>= 0, "12.50"), -1 unknown, -2 a float (six
///                             digits, "1e+010"), -3 neither
///   tsql_int(x)               CAST(x AS int) with the server's conversions and overflow errors; also
///                             checks an int operation's result
///   tsql_numeric(x), tsql_bit(x)  a text compared with a decimal or a bit, read as one
///   tsql_avg_int(x)           AVG of an int (aggregate): the int sum divided by the count, truncated
///   tsql_datetime(x)          text read as SQL Server reads a date string, to storage form;
///                             raises SQL Server's conversion messages
///   tsql_add(a, b)            '+' when the operand kinds are not known statically:
///                             text + text concatenates, numbers add, NULL gives NULL
///   like(p, s[, e])           LIKE with SQL Server's rules: case ignored, % _ [abc] [^abc]
///   tsql_nlike(p, s[, e])     the same where a side is nvarchar: the text's trailing blanks count
/// DATEDIFF, MONTH and YEAR read a text as datetime2, CAST AS datetime as datetime.
/// Returns false (and leaves the connection usable) when SQLite refused one of them.
bool registerSqlServerCompat(sqlite3* db);

/// The message to give for a translated statement SQLite could not prepare: SQL Server's
/// "nested too deeply" when SQLite's own limits (its parser stack, the depth of an
/// expression) refused it, else SQLite's message as it is.
std::string preparedStatementMessage(std::string_view sqliteMessage);

} // namespace vantik::sqlcompat
