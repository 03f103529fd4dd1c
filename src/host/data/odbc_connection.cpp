#include "host/data/odbc_connection.h"

#include "host/data/column_value.h"
#include "host/data/database_error.h"
#include "host/data/sql_quote.h"

#include <QDateTime>

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

} // namespace

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
}

OdbcConnection::~OdbcConnection() = default;

ResultSet OdbcConnection::execute(const QString& statement)
{
    return m_session->execute(m_sqlite ? sqliteNames(statement) : statement);
}

RawResult OdbcConnection::fetch(const QString& statement)
{
    return m_session->fetch(m_sqlite ? sqliteNames(statement) : statement, {});
}

int OdbcConnection::executeNative(const QString& statement, const QVariantList& parameters)
{
    return m_session->executeNative(statement, parameters);
}

RawResult OdbcConnection::fetchNative(const QString& statement, const QVariantList& parameters)
{
    return m_session->fetch(statement, parameters);
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
        for (const auto& row : m_session->fetch(sql, parameters).rows)
            columns.push_back(sqliteColumn(row));
    } else {
        for (const auto& row : m_session->fetch(sqlServerColumnsStatement(table), {}).rows)
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
        // Bound as a date-time, never as text that the server would read under
        // the login's language.
        const sqlcompat::DateTimeValue& v = value.dateTime;
        return QDateTime(QDate(v.year, v.month, v.day), QTime(v.hour, v.minute, v.second, v.millisecond));
    }
    case SqlType::Integer:
    case SqlType::Bit:
        return value.integer;
    default:
        // Decimals go as their checked text, which the server converts exactly.
        return value.text;
    }
}

QString OdbcConnection::description() const
{
    return m_sqlite ? QStringLiteral("SQLite (ODBC)") : QStringLiteral("SQL Server (ODBC)");
}

} // namespace vantik
