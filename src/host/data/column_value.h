#pragma once

#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/datetime.h"

#include <QString>

namespace vantik {

/// A value checked against the column it goes to, in the form each backend needs.
struct ColumnValue {
    sqlcompat::SqlType kind = sqlcompat::SqlType::Unknown;
    QString text;               ///< texts as given; decimals as typed, without a plus sign
    qlonglong integer = 0;      ///< integers; bits as 1 or 0
    double number = 0;          ///< decimals
    sqlcompat::DateTimeValue dateTime;
};

/// The one rule for what the program may write into a column, on every backend.
/// Throws DatabaseError with a message naming the column when:
/// - a text holds a NUL character (the database would keep it cut there);
/// - a text is longer than the column's declared length ("String or binary data
///   would be truncated.", as SQL Server says);
/// - an integer is not digits with at most one sign, or outside the type's range;
/// - a decimal is not digits with at most one sign and one decimal point ("nan",
///   "inf", "1e5", "12abc" and " " are not), or has more digits before or after the
///   point than the column's precision and scale hold;
/// - a bit is not "True", "False", "1" or "0"; a datetime is not a date SQL Server reads.
ColumnValue checkColumnValue(const QString& text, const sqlcompat::ColumnInfo& column);

} // namespace vantik
