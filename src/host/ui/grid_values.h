#pragma once

#include <QDateTime>
#include <QStringView>

#include <optional>
#include <vector>

namespace vantik {

class FlexGrid;

/// The columns of a grid that carry something for a reader, in grid order: a
/// zero-width (hidden) column is left out, and so is one with neither a header
/// nor any value.
std::vector<int> shownColumns(const FlexGrid& grid);

enum class ValueKind { Text, Number, Date };

/// What one column holds, as printing and export treat it.
struct ColumnValues {
    ValueKind kind = ValueKind::Text;
    /// A date column in which some value has a time of day other than midnight.
    bool withTime = false;
    /// No value holds a blank: identifiers, codes, flags and numbers. Such a
    /// column is never wrapped or cut when printed.
    bool singleWords = true;
};

/// Describes a column from its values and, where the grid was bound from a
/// result, its declared type. Dates are recognised by their text (a converted
/// date is still a date to the clerk); numbers only where the column was
/// declared numeric, or in a grid filled cell by cell whose header does not
/// name an identifier: "26000742" under IdNum stays text.
ColumnValues describeColumn(const FlexGrid& grid, int column);

/// A date or date and time in one of the forms the program shows: the
/// database's "Nov  9 2026 10:30AM", the program's "1/5/2024 9:07:00 AM" or
/// "01/05/2024", and ISO "2024-01-05 09:07:00.000". The result is in UTC: the
/// date and time as written, without a zone.
std::optional<QDateTime> parseShownDateTime(QStringView text);

/// A number as a database writes one: an optional minus, no leading zero, an
/// optional fraction, at most 15 digits (so it is held exactly).
std::optional<double> parsePlainNumber(QStringView text);

/// True for a header that names an identifier: IdNum, hospnum, OPDIDNum,
/// DoctorId, UnitCode, "Account No".
bool isIdentifierName(QStringView header);

} // namespace vantik
