#pragma once

#include "host/sqlcompat/catalog.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace vantik {

/// The one way a text goes into SQL text: every single quote doubled, so that the
/// text stays one literal ("O'Brien" -> "O''Brien"). The caller writes the
/// enclosing quotes, as the statements are written with them.
QString sqlQuote(const QString& text);

/// A whole text literal for comparing with, or writing into, the column: N'...'
/// for a national column (nchar, nvarchar, ntext), so that a character outside the
/// server's code page ("≥", an emoji) is not turned into "?"; '...' for the others,
/// whose stored text went through that code page already, and whose index a
/// national literal would make the server convert row by row.
QString sqlTextLiteral(const QString& text, const sqlcompat::ColumnInfo& column);

/// A date as SQL Server reads it the same under every language and DATEFORMAT:
/// "20270101" ('yyyymmdd'); the caller writes the quotes.
QString sqlDateLiteral(const QDate& date);
/// A date and time likewise, milliseconds kept: "2026-11-02T09:00:00.000"
/// ('yyyy-mm-ddThh:mi:ss.mmm').
QString sqlDateTimeLiteral(const QDateTime& value);

/// A name in T-SQL's brackets, a closing bracket doubled: "Length]Stay" -> "[Length]]Stay]".
QString sqlBracket(const QString& name);

} // namespace vantik
