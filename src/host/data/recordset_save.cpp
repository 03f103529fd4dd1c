// Saving a recordset's current record: what identifies it, what it must still
// hold, and what it holds after the save. The backend's row writer turns that
// into statements (row_writer.h).

#include "host/data/database_error.h"
#include "host/data/recordset.h"
#include "host/data/row_writer.h"
#include "host/data/select_where.h"

namespace vantik {

namespace {

QString nameOf(const sqlcompat::ColumnInfo& column)
{
    return QString::fromStdString(column.name);
}

// Adds a check unless the column is checked already (a field read twice, or a key
// column among the fields): both hold the value read from the same row.
void addCheck(std::vector<ColumnCheck>& checks, const sqlcompat::ColumnInfo& column, const QVariant& value)
{
    for (const ColumnCheck& check : checks) {
        if (sqlcompat::equalsIgnoreCase(check.column.name, column.name))
            return;
    }
    checks.push_back(ColumnCheck{column, value});
}

} // namespace

QVariant Recordset::written(const Record& record, std::size_t field) const
{
    // Checked again at the save: the column may have been read anew since.
    const sqlcompat::ColumnInfo& column = tableColumn(static_cast<int>(field));
    return m_connection->nativeValue(record.assigned[field]->checked, column);
}

QVariant Recordset::afterSave(const QVariant& value, const sqlcompat::ColumnInfo& column) const
{
    // What the next save of this record must find: a fixed-length text comes back
    // padded with blanks, and the exact comparison counts them.
    if ((column.typeName == "char" || column.typeName == "nchar") && column.length > 0
        && value.typeId() == QMetaType::QString)
        return value.toString().leftJustified(column.length, QLatin1Char(' '));
    return value;
}

void Recordset::saveChanged(Record& record)
{
    if (record.unidentified)
        throw DatabaseError(QStringLiteral("This new record of %1 can be saved again only after it is read again: the "
                                           "database filled in values that identify it. Nothing was saved.")
                                .arg(m_table.table));
    RowUpdate update;
    update.table = m_table;
    update.byKey = m_byKey;
    const std::size_t visible = record.assigned.size();
    for (std::size_t k = 0; k < m_identifying.size(); ++k) {
        const QVariant& value = record.values[visible + k];
        if (m_byKey && value.isNull())
            throw DatabaseError(QStringLiteral("The record has no key value, so it cannot be saved."));
        addCheck(update.checks, *m_identifying[k], value);
    }
    std::vector<QVariant> values(visible);
    for (std::size_t i = 0; i < visible; ++i) {
        if (!record.assigned[i])
            continue;
        const sqlcompat::ColumnInfo& column = tableColumn(static_cast<int>(i));
        values[i] = written(record, i);
        update.columns << nameOf(column);
        update.values << values[i];
        // A record this recordset added holds what the table's defaults gave in
        // the fields it did not write: those values were never read.
        const bool known = record.known.empty() || record.known[i];
        if (column.comparable() && known)
            addCheck(update.checks, column, record.values[i]);
    }
    if (m_criteria == UpdateCriteria::AllColumns) {
        for (std::size_t i = 0; i < visible; ++i) {
            const sqlcompat::ColumnInfo* column = m_fieldColumns[i];
            if (!record.known.empty() && !record.known[i])
                continue;
            if (column && column->comparable())
                addCheck(update.checks, *column, record.values[i]);
        }
    }

    const int found = m_connection->rowWriter().update(*m_connection, update);
    if (found == 0)
        throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
    if (found > 1) {
        if (!m_byKey)
            throw DatabaseError(
                QStringLiteral("%1 has several identical rows; nothing was saved.").arg(m_table.table));
        throw DatabaseError(QStringLiteral("The save would have changed %1 rows of %2; nothing was saved.")
                                .arg(found)
                                .arg(m_table.table));
    }

    for (std::size_t i = 0; i < visible; ++i) {
        if (!record.assigned[i])
            continue;
        const sqlcompat::ColumnInfo& column = tableColumn(static_cast<int>(i));
        record.values[i] = afterSave(values[i], column);
        for (std::size_t k = 0; k < m_identifying.size(); ++k) {
            if (m_identifying[k] == &column)
                record.values[visible + k] = record.values[i];
        }
        if (!record.known.empty())
            record.known[i] = true;
        record.assigned[i].reset();
    }
}

void Recordset::saveNew(Record& record)
{
    RowInsert insert;
    insert.table = m_table;
    const std::size_t visible = record.assigned.size();
    std::vector<QVariant> values(visible);
    for (std::size_t i = 0; i < visible; ++i) {
        if (!record.assigned[i])
            continue;
        values[i] = written(record, i);
        insert.columns << nameOf(tableColumn(static_cast<int>(i)));
        insert.values << values[i];
    }
    // Added where the statement found nothing: two clerks doing the same must not
    // both add the row, so it goes in only while the statement still finds none.
    if (m_rowsRead == 0 && !m_insertedAny) {
        const QByteArray tsql = m_statement.toUtf8();
        insert.absentStatement = m_statement;
        insert.absentAlias = m_alias;
        insert.absentWhere = selectWhereClause(std::string_view(tsql.constData(), tsql.size()), m_fromOffset);
    }
    // The value of each identifying column: assigned, or the key the database made.
    std::vector<std::optional<QVariant>> identifying(m_identifying.size());
    for (std::size_t k = 0; k < m_identifying.size(); ++k) {
        for (std::size_t i = 0; i < visible; ++i) {
            if (record.assigned[i] && m_fieldColumns[i] == m_identifying[k])
                identifying[k] = afterSave(values[i], *m_identifying[k]);
        }
    }
    const bool generated = m_byKey && m_identifying.size() == 1 && !identifying.front()
        && m_identifying.front()->type == SqlType::Integer;
    insert.generatedKey = generated;

    const InsertOutcome outcome = m_connection->rowWriter().insert(*m_connection, insert);
    if (!outcome.inserted)
        throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
    m_insertedAny = true;

    if (generated && !outcome.generatedKey.isNull())
        identifying.front() = QVariant(outcome.generatedKey.toLongLong());
    record.unidentified = false;
    for (std::size_t k = 0; k < m_identifying.size(); ++k) {
        if (identifying[k])
            record.values[visible + k] = *identifying[k];
        else
            record.unidentified = true;
    }
    // What was written becomes what was read, so a further save of this record finds it.
    record.known.assign(visible, false);
    for (std::size_t i = 0; i < visible; ++i) {
        if (record.assigned[i]) {
            record.values[i] = afterSave(values[i], tableColumn(static_cast<int>(i)));
            record.known[i] = true;
        }
        record.assigned[i].reset();
    }
    record.isNew = false;
}

} // namespace vantik
