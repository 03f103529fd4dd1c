#pragma once

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
///   tsql_datetime(x)          text read as SQL Server reads a date string, to storage form;
///                             raises SQL Server's conversion messages
///   tsql_add(a, b)            '+' when the operand kinds are not known statically:
///                             text + text concatenates, numbers add, NULL gives NULL
///   like(p, s[, e])           LIKE with SQL Server's rules: case ignored, % _ [abc] [^abc]
/// Returns false (and leaves the connection usable) when SQLite refused one of them.
bool registerSqlServerCompat(sqlite3* db);

} // namespace vantik::sqlcompat
