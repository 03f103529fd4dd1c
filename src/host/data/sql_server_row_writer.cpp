// How a recordset's save reaches SQL Server: one batch per save, so that the
// check, the write and the count of what was written cannot be separated.
//
// - The count: the statement's own OUTPUT INTO a table variable. Neither SET
//   NOCOUNT (on the server, in a trigger) nor a trigger's writes elsewhere change
//   it; the driver's row count and @@ROWCOUNT after a statement that fired
//   triggers can. (OUTPUT without INTO is refused on tables with triggers.) The
//   batch answers with a result named SavedRows, and only that result is read: a
//   trigger that returns rows of its own comes before it.
// - More than one row hit: rolled back inside the batch, nothing kept.
// - The row found by its key: a plain equality with the parameter cast to the
//   column's own type, which an index seeks, and the exact comparison besides.
// - Text compared exactly: with the binary collation a change of letter case is
//   seen, and the appended '|' makes trailing blanks count, which "=" ignores
//   under every collation.
// - Dates compared as ISO 8601 text, read the same under every language.
// - The new key: SCOPE_IDENTITY() in the same batch; @@IDENTITY would give the
//   key of an audit trigger's insert.
// - Inserting only while a row is absent: the check holds UPDLOCK, HOLDLOCK to
//   the end of the transaction, so a second clerk waits and then finds the row.
// - When the connection breaks or the server does not answer in time, the batch
//   may or may not have committed: the row is read again to learn which.

#include "host/data/database_error.h"
#include "host/data/row_writer.h"
#include "host/data/sql_quote.h"

#include <QDateTime>

namespace vantik {

namespace {

const QString kBatchStart = QStringLiteral(
    "SET NOCOUNT ON;\n"
    "SET XACT_ABORT ON;\n"
    "DECLARE @saved TABLE (n int);\n"
    "BEGIN TRANSACTION;\n");

const QString kCountName = QStringLiteral("SavedRows");

QVariant comparedValue(const sqlcompat::ColumnInfo& column, const QVariant& value)
{
    if (column.type == SqlType::DateTime && value.typeId() == QMetaType::QDateTime)
        return sqlDateTimeLiteral(value.toDateTime());
    return value;
}

// The column's own type, for a parameter compared with it: a varchar column
// compared with an nvarchar parameter is converted row by row, and no index on
// it is used.
QString parameterType(const sqlcompat::ColumnInfo& column)
{
    const QString length = column.length > 0 ? QString::number(column.length) : QStringLiteral("max");
    return QStringLiteral("%1(%2)").arg(QString::fromStdString(column.typeName), length);
}

// The condition that the column holds the value exactly, with its parameters.
// seek: the column is part of the key, so a plain equality comes first for the index.
void addCondition(Connection& via, const sqlcompat::ColumnInfo& column, const QVariant& value, bool seek,
                  QStringList& conditions, QVariantList& parameters)
{
    const QString name = via.nativeColumnName(QString::fromStdString(column.name));
    if (value.isNull()) {
        conditions << name + QStringLiteral(" IS NULL");
        return;
    }
    if (!column.collatedText()) {
        conditions << name + QStringLiteral(" = ?");
        parameters << comparedValue(column, value);
        return;
    }
    if (seek) {
        conditions << QStringLiteral("%1 = CAST(? AS %2)").arg(name, parameterType(column));
        parameters << value;
    }
    conditions << QStringLiteral("(%1 + N'|') COLLATE Latin1_General_BIN2 = ? + N'|'").arg(name);
    parameters << value;
}

int countFrom(const RawResult& batch)
{
    const RawResult* result = namedResult(batch, kCountName);
    const QString unknown =
        QStringLiteral("The server did not say how many rows the save wrote; it may not have been saved.");
    if (!result || result->rows.empty() || result->rows.front().empty())
        throw DatabaseError(unknown);
    bool ok = false;
    const int count = result->rows.front().front().toInt(&ok);
    if (!ok)
        throw DatabaseError(unknown);
    return count;
}

// A failure after which the batch may have committed or not.
bool outcomeUnknown(const DatabaseError& error)
{
    return error.kind() == DatabaseErrorKind::ConnectionLost || error.kind() == DatabaseErrorKind::QueryTimeout;
}

// A batch that failed before its end was rolled back whole (XACT_ABORT).
[[noreturn]] void rethrowNothingSaved(const DatabaseError& error)
{
    if (error.kind() == DatabaseErrorKind::LockTimeout || error.kind() == DatabaseErrorKind::Deadlock)
        throw DatabaseError(error.message() + QStringLiteral(" Nothing was saved."), error.kind());
    throw error;
}

const sqlcompat::ColumnInfo* columnNamed(Connection& via, const TableRef& table, const QString& name)
{
    const QByteArray wanted = name.toUtf8();
    for (const sqlcompat::ColumnInfo& column : via.tableColumns(table)) {
        if (sqlcompat::equalsIgnoreCase(column.name, std::string_view(wanted.constData(), wanted.size())))
            return &column;
    }
    return nullptr;
}

// Whether the rows the conditions find are there now, read on the connection
// opened again; the failure that made it necessary says what was lost.
int rowsNowFound(Connection& via, const TableRef& table, const QStringList& conditions,
                 const QVariantList& parameters, const DatabaseError& failure)
{
    const QString statement = QStringLiteral("SELECT COUNT(*) AS %1 FROM %2 WHERE %3;")
                                  .arg(kCountName, via.nativeTableName(table), conditions.join(QStringLiteral(" AND ")));
    try {
        return countFrom(via.fetchNative(statement, parameters));
    } catch (const DatabaseError& error) {
        throw DatabaseError(QStringLiteral("%1\nWhether the record was saved is not known: it could not be read again "
                                           "(%2). Look at the record before saving it again.")
                                .arg(failure.message(), error.message()),
                            DatabaseErrorKind::SaveOutcomeUnknown);
    }
}

[[noreturn]] void throwNotSaved(const DatabaseError& failure)
{
    throw DatabaseError(failure.message() + QStringLiteral("\nThe record was read again: it was not saved. Try again."),
                        failure.kind());
}

[[noreturn]] void throwOutcomeUnknown(const DatabaseError& failure)
{
    throw DatabaseError(failure.message() + QStringLiteral("\nWhether the record was saved is not known."),
                        DatabaseErrorKind::SaveOutcomeUnknown);
}

// After an update batch whose outcome the failure left open: saved means the row
// now holds what the save wrote and, in every other column checked, what was read.
int updateFoundAfter(Connection& via, const RowUpdate& update, const DatabaseError& failure)
{
    QStringList conditions;
    QVariantList parameters;
    QStringList covered;
    for (const ColumnCheck& check : update.checks) {
        const QString name = QString::fromStdString(check.column.name);
        const qsizetype written = update.columns.indexOf(name);
        addCondition(via, check.column, written >= 0 ? update.values.at(written) : check.value,
                     update.byKey && check.column.keyOrdinal > 0, conditions, parameters);
        covered << name;
    }
    for (qsizetype i = 0; i < update.columns.size(); ++i) {
        if (covered.contains(update.columns.at(i)))
            continue;
        const sqlcompat::ColumnInfo* column = columnNamed(via, update.table, update.columns.at(i));
        if (!column || !column->comparable())
            throwOutcomeUnknown(failure);
        addCondition(via, *column, update.values.at(i), false, conditions, parameters);
    }
    if (rowsNowFound(via, update.table, conditions, parameters, failure) == 0)
        throwNotSaved(failure);
    return 1;
}

// After an insert batch whose outcome the failure left open: saved means a row
// holding everything the insert gave is there. Its new key is not known then; the
// recordset asks for a new read before the record is saved again.
InsertOutcome insertFoundAfter(Connection& via, const RowInsert& insert, const DatabaseError& failure)
{
    QStringList conditions;
    QVariantList parameters;
    for (qsizetype i = 0; i < insert.columns.size(); ++i) {
        const sqlcompat::ColumnInfo* column = columnNamed(via, insert.table, insert.columns.at(i));
        if (column && column->comparable())
            addCondition(via, *column, insert.values.at(i), false, conditions, parameters);
    }
    if (conditions.isEmpty())
        throwOutcomeUnknown(failure);
    if (rowsNowFound(via, insert.table, conditions, parameters, failure) == 0)
        throwNotSaved(failure);
    InsertOutcome outcome;
    outcome.inserted = true;
    return outcome;
}

class SqlServerRowWriter final : public RowWriter {
public:
    int update(Connection& via, const RowUpdate& update) const override
    {
        QStringList conditions;
        QVariantList parameters = update.values;
        for (const ColumnCheck& check : update.checks)
            addCondition(via, check.column, check.value, update.byKey && check.column.keyOrdinal > 0, conditions,
                         parameters);
        const QString batch = kBatchStart
            + QStringLiteral("UPDATE %1 SET %2 OUTPUT 1 INTO @saved WHERE %3;\n")
                  .arg(via.nativeTableName(update.table), assignedColumns(via, update.columns),
                       conditions.join(QStringLiteral(" AND ")))
            + QStringLiteral("DECLARE @rows int = (SELECT COUNT(*) FROM @saved);\n"
                             "IF @rows = 1 COMMIT TRANSACTION ELSE ROLLBACK TRANSACTION;\n"
                             "SELECT @rows AS SavedRows;");
        try {
            return countFrom(via.fetchNative(batch, parameters));
        } catch (const DatabaseError& error) {
            if (!outcomeUnknown(error))
                rethrowNothingSaved(error);
            return updateFoundAfter(via, update, error);
        }
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
        InsertOutcome outcome;
        RawResult result;
        try {
            result = via.fetchNative(batch, insert.values);
        } catch (const DatabaseError& error) {
            if (!outcomeUnknown(error))
                rethrowNothingSaved(error);
            return insertFoundAfter(via, insert, error);
        }
        outcome.inserted = countFrom(result) == 1;
        const RawResult* counted = namedResult(result, kCountName);
        if (outcome.inserted && insert.generatedKey && counted->rows.front().size() > 1)
            outcome.generatedKey = counted->rows.front().at(1);
        return outcome;
    }
};

} // namespace

std::unique_ptr<RowWriter> makeSqlServerRowWriter()
{
    return std::make_unique<SqlServerRowWriter>();
}

} // namespace vantik
