#include "host/claimforms/cf4_entry.h"

#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "host/data/recordset.h"
#include "host/data/sql_quote.h"

namespace vantik {

namespace {

QString entryStatement(const QString& idNum)
{
    return QStringLiteral("SELECT * FROM MEDICARE..tbCF4Entry WHERE IDNum = '%1'").arg(sqlQuote(idNum));
}

} // namespace

std::optional<SeenRow> readCf4Entry(Connection& connection, const QString& idNum)
{
    return readSeenRow(connection, entryStatement(idNum));
}

void saveCf4Entry(Connection& connection, const QString& idNum, const std::optional<SeenRow>& seen,
                  const QList<QPair<QString, QString>>& columns, const QString& clerk, const QDateTime& now)
{
    saveAsSeen(connection, entryStatement(idNum), seen, [&](Recordset& row, bool isNew) {
        if (isNew)
            row.setField(QStringLiteral("IDNum"), idNum);
        for (const auto& [column, value] : columns)
            row.setField(column, value);
        row.setField(QStringLiteral("ChangedBy"), clerk.toUpper());
        row.setField(QStringLiteral("ChangedOn"), now);
    });
}

int cf4EntryLength(Connection& connection, const QString& column)
{
    try {
        for (const sqlcompat::ColumnInfo& info :
             connection.tableColumns(TableRef{QStringLiteral("MEDICARE"), QStringLiteral("tbCF4Entry")})) {
            if (QString::fromStdString(info.name).compare(column, Qt::CaseInsensitive) == 0)
                return info.length;
        }
    } catch (const DatabaseError&) {
        // A database without the table: the write names it.
    }
    return 0;
}

} // namespace vantik
