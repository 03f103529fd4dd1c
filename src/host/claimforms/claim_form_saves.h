#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace vantik {

class Connection;
class Recordset;

/// A table row as a window read it: every column's text, NULL told apart.
struct SeenRow {
    QStringList columns;
    QStringList texts;
    std::vector<bool> nulls;

    bool operator==(const SeenRow&) const = default;
    /// A column's text ("" when the row has no such column).
    QString text(const QString& column) const;
};

/// The first row of a statement as it stands now; nothing when there is none.
std::optional<SeenRow> readSeenRow(Connection& connection, const QString& statement);

/// Saves the first row of a statement as the clerk saw it: when the row is no
/// longer what the window showed (changed, made, or deleted since), or changes
/// before the save lands, nothing is written and DatabaseError says the record was
/// changed by another user. assign sets the fields; isNew tells that the row is
/// being made (the window saw none and there still is none).
void saveAsSeen(Connection& connection, const QString& statement, const std::optional<SeenRow>& seen,
                const std::function<void(Recordset& row, bool isNew)>& assign);

/// Adds a record through a recordset on statement (one that selects no row).
void addRecord(Connection& connection, const QString& statement, const std::function<void(Recordset& row)>& assign);

/// Whether the recordset's rows have a field of that name.
bool hasField(const Recordset& rows, const QString& name);

} // namespace vantik
