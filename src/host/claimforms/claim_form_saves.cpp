#include "host/claimforms/claim_form_saves.h"

#include "host/data/database_error.h"
#include "host/data/recordset.h"

namespace vantik {

namespace {

std::optional<SeenRow> currentRow(const Recordset& rows)
{
    if (rows.eof())
        return std::nullopt;
    SeenRow row;
    for (int i = 0; i < rows.fieldCount(); ++i) {
        row.columns << rows.fieldName(i);
        row.texts << rows.field(i);
        row.nulls.push_back(rows.isNull(i));
    }
    return row;
}

} // namespace

QString SeenRow::text(const QString& column) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return texts.at(i);
    }
    return QString();
}

bool hasField(const Recordset& rows, const QString& name)
{
    for (int i = 0; i < rows.fieldCount(); ++i) {
        if (rows.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

std::optional<SeenRow> readSeenRow(Connection& connection, const QString& statement)
{
    Recordset rows;
    rows.open(statement, connection, CursorType::ForwardOnly, LockType::ReadOnly);
    return currentRow(rows);
}

void saveAsSeen(Connection& connection, const QString& statement, const std::optional<SeenRow>& seen,
                const std::function<void(Recordset& row, bool isNew)>& assign)
{
    Recordset row;
    // Every column the clerk saw must still be as it was when the save lands, not
    // only the ones this save writes.
    row.setUpdateCriteria(UpdateCriteria::AllColumns);
    row.open(statement, connection, CursorType::Keyset, LockType::Optimistic);
    // What the clerk decided on is what the window showed: a row another clerk
    // changed since then must not be overwritten.
    if (currentRow(row) != seen)
        throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
    const bool isNew = row.eof();
    if (isNew)
        row.addNew();
    assign(row, isNew);
    row.update();
    row.close();
}

void addRecord(Connection& connection, const QString& statement, const std::function<void(Recordset& row)>& assign)
{
    Recordset row;
    row.open(statement, connection, CursorType::Keyset, LockType::Optimistic);
    row.addNew();
    assign(row);
    row.update();
    row.close();
}

} // namespace vantik
