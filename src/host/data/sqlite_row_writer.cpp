#include "host/data/row_writer.h"

namespace vantik {

namespace {

class SqliteRowWriter final : public RowWriter {
public:
    explicit SqliteRowWriter(std::function<bool()> inTransaction)
        : m_inTransaction(std::move(inTransaction))
    {
    }

    int update(Connection& via, const RowUpdate& update) const override
    {
        QStringList conditions;
        QVariantList parameters = update.values;
        for (const ColumnCheck& check : update.checks) {
            const QString name = via.nativeColumnName(QString::fromStdString(check.column.name));
            if (check.value.isNull()) {
                conditions << name + QStringLiteral(" IS NULL");
                continue;
            }
            // The text columns compare under the TSQL collation, which ignores
            // letter case and trailing blanks: another clerk's change of those must count.
            conditions << name
                    + (check.column.type == SqlType::Text ? QStringLiteral(" = ? COLLATE BINARY") : QStringLiteral(" = ?"));
            parameters << check.value;
        }
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                .arg(via.nativeTableName(update.table), assignedColumns(via, update.columns),
                                     conditions.join(QStringLiteral(" AND ")));
        // A key finds one row at most, and one statement is atomic.
        if (update.byKey)
            return via.executeNative(sql, parameters);
        Transaction transaction(via, m_inTransaction());
        const int changed = via.executeNative(sql, parameters);
        if (changed == 1)
            transaction.commit();
        return changed;
    }

    InsertOutcome insert(Connection& via, const RowInsert& insert) const override
    {
        const QString sql = insert.columns.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(via.nativeTableName(insert.table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(via.nativeTableName(insert.table), insertedColumns(via, insert.columns),
                       parameterMarks(insert.values.size()));
        InsertOutcome outcome;
        if (insert.absentStatement.isEmpty()) {
            via.executeNative(sql, insert.values);
            outcome.inserted = true;
            if (insert.generatedKey)
                outcome.generatedKey = via.lastInsertedKey();
            return outcome;
        }
        // The write lock is taken before the check, so no other connection can add
        // the row between the check and the insert; a second clerk waits and then
        // finds the first one's row.
        Transaction transaction(via, m_inTransaction());
        if (!via.fetch(insert.absentStatement).rows.empty())
            return outcome;
        via.executeNative(sql, insert.values);
        outcome.inserted = true;
        if (insert.generatedKey)
            outcome.generatedKey = via.lastInsertedKey();
        transaction.commit();
        return outcome;
    }

private:
    // Rolls back unless committed: a failure or a refused save leaves nothing.
    class Transaction {
    public:
        Transaction(Connection& via, bool nested)
            : m_via(via)
            , m_nested(nested)
        {
            m_via.executeNative(m_nested ? QStringLiteral("SAVEPOINT vantik_save") : QStringLiteral("BEGIN IMMEDIATE"),
                                {});
        }
        void commit()
        {
            m_via.executeNative(m_nested ? QStringLiteral("RELEASE vantik_save") : QStringLiteral("COMMIT"), {});
            m_done = true;
        }
        ~Transaction()
        {
            if (m_done)
                return;
            try {
                if (m_nested) {
                    m_via.executeNative(QStringLiteral("ROLLBACK TO vantik_save"), {});
                    m_via.executeNative(QStringLiteral("RELEASE vantik_save"), {});
                } else {
                    m_via.executeNative(QStringLiteral("ROLLBACK"), {});
                }
            } catch (...) {
                // SQLite may have rolled back already (an error in the statement).
            }
        }

    private:
        Connection& m_via;
        bool m_nested;
        bool m_done = false;
    };

    std::function<bool()> m_inTransaction;
};

} // namespace

std::unique_ptr<RowWriter> makeSqliteRowWriter(std::function<bool()> inTransaction)
{
    return std::make_unique<SqliteRowWriter>(std::move(inTransaction));
}

} // namespace vantik
