#include "host/data/odbc_connection.h"

#include "host/data/column_value.h"
#include "host/data/database_error.h"
#include "host/data/sql_quote.h"

#include <QDateTime>
#include <QThread>

namespace vantik {

namespace {

QString bracketedTable(const TableRef& table, const QString& separator)
{
    if (table.database.isEmpty())
        return sqlBracket(table.table);
    return sqlBracket(table.database) + separator + sqlBracket(table.table);
}

int intOf(const QVariant& value)
{
    return value.isNull() ? 0 : value.toInt();
}

sqlcompat::ColumnInfo sqlServerColumn(const std::vector<QVariant>& row)
{
    sqlcompat::ColumnInfo column;
    column.name = row.at(0).toString().toStdString();
    column.typeName = row.at(1).toString().toLower().toStdString();
    column.type = sqlcompat::sqlTypeFromDeclared(column.typeName);
    const int maxLength = intOf(row.at(2));
    if (column.collatedText() && maxLength > 0) // -1: (max)
        column.length = column.typeName[0] == 'n' ? maxLength / 2 : maxLength;
    if (column.typeName == "decimal" || column.typeName == "numeric" || column.typeName == "money"
        || column.typeName == "smallmoney") {
        column.precision = intOf(row.at(3));
        column.scale = intOf(row.at(4));
    }
    column.computed = intOf(row.at(5)) != 0;
    column.keyOrdinal = intOf(row.at(6));
    column.primaryKey = column.keyOrdinal > 0;
    return column;
}

sqlcompat::ColumnInfo sqliteColumn(const std::vector<QVariant>& row)
{
    sqlcompat::ColumnInfo column;
    column.name = row.at(0).toString().toStdString();
    const sqlcompat::DeclaredType type = sqlcompat::parseDeclaredType(row.at(1).toString().toStdString());
    column.type = type.kind;
    column.typeName = type.name;
    column.length = type.length;
    column.precision = type.precision;
    column.scale = type.scale;
    column.keyOrdinal = intOf(row.at(2));
    column.primaryKey = column.keyOrdinal > 0;
    return column;
}

// SQLite names a table of an attached database db.table; the program writes
// T-SQL's db..table. Quoted texts and names are left as they are.
QString sqliteNames(const QString& tsql)
{
    QString out;
    out.reserve(tsql.size());
    QChar closing;
    for (qsizetype i = 0; i < tsql.size(); ++i) {
        const QChar c = tsql[i];
        if (!closing.isNull()) {
            if (c == closing)
                closing = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            closing = c;
        } else if (c == QLatin1Char('[')) {
            closing = QLatin1Char(']');
        } else if (c == QLatin1Char('.') && i + 1 < tsql.size() && tsql[i + 1] == QLatin1Char('.')) {
            continue;
        }
        out += c;
    }
    return out;
}

// A statement that only reads, and so can run again after its connection broke.
bool readsOnly(const QString& statement)
{
    const QString head = statement.trimmed().section(QLatin1Char(' '), 0, 0);
    return head.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0;
}

QString lostMessage(const DatabaseError& error)
{
    return QStringLiteral("The connection to the database was lost: %1").arg(error.message());
}

} // namespace

QString sqlServerSessionSettings()
{
    return QStringLiteral("SET DATEFORMAT mdy;\nSET LOCK_TIMEOUT %1;").arg(kLockTimeoutMilliseconds);
}

QString sqlServerColumnsStatement(const TableRef& table)
{
    const QString database = table.database.isEmpty() ? QString() : sqlBracket(table.database) + QLatin1Char('.');
    return QStringLiteral(
               "SELECT C.name, TYPE_NAME(C.system_type_id), C.max_length, C.precision, C.scale, C.is_computed, "
               "ISNULL(K.key_ordinal, 0) "
               "FROM %1sys.columns AS C "
               "LEFT JOIN (%1sys.indexes AS I JOIN %1sys.index_columns AS K "
               "ON K.object_id = I.object_id AND K.index_id = I.index_id) "
               "ON I.object_id = C.object_id AND I.is_primary_key = 1 AND K.column_id = C.column_id "
               "WHERE C.object_id = OBJECT_ID(N'%2') ORDER BY C.column_id")
        .arg(database, sqlQuote(bracketedTable(table, QStringLiteral(".."))));
}

OdbcConnection::OdbcConnection(std::unique_ptr<OdbcSession> session)
    : m_session(std::move(session))
    , m_sqlite(m_session->dbmsName().contains(QLatin1String("SQLite"), Qt::CaseInsensitive))
    , m_writer(m_sqlite ? makeSqliteRowWriter([] { return false; }) : makeSqlServerRowWriter())
{
    if (!m_sqlite)
        m_session->applySettings(sqlServerSessionSettings());
}

OdbcConnection::~OdbcConnection() = default;

void OdbcConnection::reopen()
{
    try {
        m_session->reconnect();
        if (!m_sqlite)
            m_session->applySettings(sqlServerSessionSettings());
    } catch (const DatabaseError& error) {
        throw DatabaseError(QStringLiteral("The connection to the database was lost and could not be opened again: "
                                           "%1\nCheck the network; if this goes on, close the program and log in "
                                           "again.")
                                .arg(error.message()),
                            DatabaseErrorKind::ConnectionLost);
    }
    m_lost = false;
}

template <typename Call>
auto OdbcConnection::run(Retry retry, Call&& call) -> decltype(call())
{
    for (int attempt = 1;; ++attempt) {
        if (m_lost)
            reopen();
        try {
            return call();
        } catch (const DatabaseError& error) {
            switch (error.kind()) {
            case DatabaseErrorKind::ConnectionLost:
                m_lost = true;
                if (retry == Retry::Read && attempt == 1)
                    continue;
                throw DatabaseError(lostMessage(error), DatabaseErrorKind::ConnectionLost);
            case DatabaseErrorKind::Deadlock:
                if (retry != Retry::None && attempt < kDeadlockAttempts) {
                    // The other side of the deadlock gets a moment to finish.
                    QThread::msleep(static_cast<unsigned long>(100 * attempt));
                    continue;
                }
                throw DatabaseError(QStringLiteral("Record busy, try again: the database stopped this work %1 times "
                                                   "to let another user's go first.")
                                        .arg(attempt),
                                    DatabaseErrorKind::Deadlock);
            case DatabaseErrorKind::LockTimeout:
                throw DatabaseError(QString::fromUtf8(kRecordBusyMessage), DatabaseErrorKind::LockTimeout);
            case DatabaseErrorKind::QueryTimeout:
                throw DatabaseError(QStringLiteral("Record busy, try again: the database did not answer within %1 "
                                                   "seconds.")
                                        .arg(kQueryTimeoutSeconds),
                                    DatabaseErrorKind::QueryTimeout);
            case DatabaseErrorKind::General:
            case DatabaseErrorKind::SaveOutcomeUnknown:
                break;
            }
            throw;
        }
    }
}

ResultSet OdbcConnection::execute(const QString& statement)
{
    const QString sql = m_sqlite ? sqliteNames(statement) : statement;
    return run(readsOnly(statement) ? Retry::Read : Retry::None, [&] { return m_session->execute(sql); });
}

RawResult OdbcConnection::fetch(const QString& statement)
{
    const QString sql = m_sqlite ? sqliteNames(statement) : statement;
    return run(readsOnly(statement) ? Retry::Read : Retry::None, [&] { return m_session->fetch(sql, {}); });
}

int OdbcConnection::executeNative(const QString& statement, const QVariantList& parameters)
{
    return run(Retry::None, [&] { return m_session->executeNative(statement, parameters); });
}

RawResult OdbcConnection::fetchNative(const QString& statement, const QVariantList& parameters)
{
    // The program's native batches are reads or save batches, which run in one
    // transaction under XACT_ABORT: a deadlock victim's was rolled back whole.
    return run(Retry::AtomicBatch, [&] { return m_session->fetch(statement, parameters); });
}

const std::vector<sqlcompat::ColumnInfo>& OdbcConnection::tableColumns(const TableRef& table)
{
    // Read once per table: a batch pass opens a recordset on it for every row.
    const QString cacheKey = (table.database + QStringLiteral("..") + table.table).toLower();
    const auto cached = m_tables.find(cacheKey);
    if (cached != m_tables.end())
        return cached->second;
    std::vector<sqlcompat::ColumnInfo> columns;
    if (m_sqlite) {
        const QString sql = table.database.isEmpty()
            ? QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?)")
            : QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?, ?)");
        QVariantList parameters{table.table};
        if (!table.database.isEmpty())
            parameters << table.database;
        for (const auto& row : run(Retry::Read, [&] { return m_session->fetch(sql, parameters); }).rows)
            columns.push_back(sqliteColumn(row));
    } else {
        const QString sql = sqlServerColumnsStatement(table);
        for (const auto& row : run(Retry::Read, [&] { return m_session->fetch(sql, {}); }).rows)
            columns.push_back(sqlServerColumn(row));
    }
    if (columns.empty())
        throw DatabaseError(QStringLiteral("Invalid object name '%1'.").arg(bracketedTable(table, QStringLiteral(".."))));
    return m_tables.emplace(cacheKey, std::move(columns)).first->second;
}

QVariant OdbcConnection::lastInsertedKey()
{
    if (!m_sqlite)
        throw DatabaseError(QStringLiteral("SQL Server gives a new key only in the batch that inserts the row."));
    const RawResult rows = m_session->fetch(QStringLiteral("SELECT last_insert_rowid()"), {});
    return rows.rows.empty() ? QVariant() : rows.rows.front().at(0);
}

QString OdbcConnection::nativeTableName(const TableRef& table) const
{
    return bracketedTable(table, m_sqlite ? QStringLiteral(".") : QStringLiteral(".."));
}

QString OdbcConnection::nativeColumnName(const QString& column) const
{
    return sqlBracket(column);
}

QVariant OdbcConnection::nativeValue(const QString& text, const sqlcompat::ColumnInfo& column) const
{
    const ColumnValue value = checkColumnValue(text, column);
    switch (value.kind) {
    case SqlType::DateTime: {
        const sqlcompat::DateTimeValue& v = value.dateTime;
        const QDateTime exact(QDate(v.year, v.month, v.day), QTime(v.hour, v.minute, v.second, v.millisecond));
        if (m_sqlite)
            return exact;
        // QODBC binds a date-time with the precision the driver's type list gives,
        // which FreeTDS answers so that the milliseconds are cut: SQL Server gets
        // ISO 8601 text instead, which it reads exactly under every language.
        return sqlDateTimeLiteral(exact);
    }
    case SqlType::Integer:
    case SqlType::Bit:
        return value.integer;
    default:
        // Decimals go as their checked text, which the server converts exactly.
        return value.text;
    }
}

QString OdbcConnection::exactTextExpression(const QString& column) const
{
    // Style 121 is the ODBC canonical form with every decimal the column holds,
    // and the offset of a datetimeoffset; the server reads it back exactly.
    if (m_sqlite)
        return QString();
    return QStringLiteral("CONVERT(nvarchar(40), %1, 121)").arg(column);
}

QString OdbcConnection::description() const
{
    return m_sqlite ? QStringLiteral("SQLite (ODBC)") : QStringLiteral("SQL Server (ODBC)");
}

} // namespace vantik
