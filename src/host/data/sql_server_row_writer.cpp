// How a recordset's save reaches SQL Server: one batch per save, so that the
// check, the write and the count of what was written cannot be separated.
//
// - The count: the statement's own OUTPUT INTO a table variable. Neither SET
//   NOCOUNT (on the server, in a trigger) nor a trigger's writes elsewhere change
//   it; the driver's row count and @@ROWCOUNT after a statement that fired
//   triggers can. (OUTPUT without INTO is refused on tables with triggers.)
// - More than one row hit: rolled back inside the batch, nothing kept.
// - Text compared exactly: with the binary collation a change of letter case is
//   seen, and the appended '|' makes trailing blanks count, which "=" ignores
//   under every collation.
// - Dates compared as ISO 8601 text, read the same under every language.
// - The new key: SCOPE_IDENTITY() in the same batch; @@IDENTITY would give the
//   key of an audit trigger's insert.
// - Inserting only while a row is absent: the check holds UPDLOCK, HOLDLOCK to
//   the end of the transaction, so a second clerk waits and then finds the row.

#include "host/data/database_error.h"
#include "host/data/row_writer.h"

#include <QDateTime>

namespace vantik {

namespace {

const QString kBatchStart = QStringLiteral(
    "SET NOCOUNT ON;\n"
    "SET XACT_ABORT ON;\n"
    "DECLARE @saved TABLE (n int);\n"
    "BEGIN TRANSACTION;\n");

QVariant comparedValue(const ColumnCheck& check)
{
    if (check.column.type == SqlType::DateTime && check.value.typeId() == QMetaType::QDateTime)
        return check.value.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    return check.value;
}

int countFrom(const RawResult& result)
{
    if (result.rows.empty() || result.rows.front().empty())
        throw DatabaseError(QStringLiteral("The server did not say how many rows the save wrote; it may not have been saved."));
    bool ok = false;
    const int count = result.rows.front().front().toInt(&ok);
    if (!ok)
        throw DatabaseError(QStringLiteral("The server did not say how many rows the save wrote; it may not have been saved."));
    return count;
}

class SqlServerRowWriter final : public RowWriter {
public:
    int update(Connection& via, const RowUpdate& update) const override
    {
        QStringList conditions;
        QVariantList parameters = update.values;
        for (const ColumnCheck& check : update.checks) {
            const QString name = via.nativeColumnName(QString::fromStdString(check.column.name));
            if (check.value.isNull())
                conditions << name + QStringLiteral(" IS NULL");
            else if (check.column.collatedText())
                conditions << QStringLiteral("(%1 + N'|') COLLATE Latin1_General_BIN2 = ? + N'|'").arg(name);
            else
                conditions << name + QStringLiteral(" = ?");
            if (!check.value.isNull())
                parameters << comparedValue(check);
        }
        const QString batch = kBatchStart
            + QStringLiteral("UPDATE %1 SET %2 OUTPUT 1 INTO @saved WHERE %3;\n")
                  .arg(via.nativeTableName(update.table), assignedColumns(via, update.columns),
                       conditions.join(QStringLiteral(" AND ")))
            + QStringLiteral("DECLARE @rows int = (SELECT COUNT(*) FROM @saved);\n"
                             "IF @rows = 1 COMMIT TRANSACTION ELSE ROLLBACK TRANSACTION;\n"
                             "SELECT @rows AS SavedRows;");
        return countFrom(via.fetchNative(batch, parameters));
    }

    InsertOutcome insert(Connection& via, const RowInsert& insert) const override
    {
        const QString table = via.nativeTableName(insert.table);
        QString batch = kBatchStart;
        if (!insert.absentStatement.isEmpty()) {
            QString check = QStringLiteral("SELECT 1 FROM ") + table;
            if (!insert.absentAlias.isEmpty())
                check += QStringLiteral(" AS ") + insert.absentAlias;
            check += QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)");
            if (!insert.absentWhere.isEmpty())
                check += QLatin1Char(' ') + insert.absentWhere;
            batch += QStringLiteral("IF NOT EXISTS (%1)\n").arg(check);
        }
        if (insert.columns.isEmpty()) {
            batch += QStringLiteral("INSERT INTO %1 OUTPUT 1 INTO @saved DEFAULT VALUES;\n").arg(table);
        } else {
            batch += QStringLiteral("INSERT INTO %1 (%2) OUTPUT 1 INTO @saved VALUES (%3);\n")
                         .arg(table, insertedColumns(via, insert.columns), parameterMarks(insert.columns.size()));
        }
        batch += QStringLiteral("DECLARE @key numeric(38, 0) = SCOPE_IDENTITY();\n"
                                "COMMIT TRANSACTION;\n"
                                "SELECT (SELECT COUNT(*) FROM @saved) AS SavedRows, @key AS NewKey;");
        const RawResult result = via.fetchNative(batch, insert.values);
        InsertOutcome outcome;
        outcome.inserted = countFrom(result) == 1;
        if (outcome.inserted && insert.generatedKey && result.rows.front().size() > 1)
            outcome.generatedKey = result.rows.front().at(1);
        return outcome;
    }
};

} // namespace

std::unique_ptr<RowWriter> makeSqlServerRowWriter()
{
    return std::make_unique<SqlServerRowWriter>();
}

} // namespace vantik
