#pragma once

#include "host/sqlcompat/sqltype.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <string_view>

namespace vantik {

using sqlcompat::SqlType;

/// The one conversion of a database value to the text the program works with:
/// NULL is the empty text; bits read "True"/"False"; integers in decimal; decimals
/// without trailing zeros ("150.5", "12"); datetimes like "1/5/2024 9:07:00 AM"
/// (the date alone at midnight). Grids, recordset fields and comparisons all use it.
QString valueText(const QVariant& value, SqlType type);

/// A datetime value as the backends give it (a QDateTime, the embedded engine's
/// storage text, or a text SQL Server reads), to the millisecond; an invalid
/// QDateTime for NULL or anything else.
QDateTime valueDateTime(const QVariant& value);

/// Shortest decimal text that reads back as the same double, never in exponent form
/// for the amounts a hospital stores: 150.5 -> "150.5", 12.0 -> "12".
QString decimalText(double value);

/// A decimal written by the database as text ("150.50", "12.00") without its trailing zeros.
QString trimDecimalText(QString text);

} // namespace vantik
