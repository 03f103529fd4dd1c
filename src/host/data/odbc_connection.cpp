#include "host/data/odbc_connection.h"

#include "host/data/database_error.h"
#include "host/data/sql_quote.h"
#include "host/data/value_text.h"
#include "host/sqlcompat/datetime.h"

#include <QAtomicInteger>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace vantik {

namespace {

QString nextConnectionName()
{
    static QAtomicInteger<int> counter;
    return QStringLiteral("vantik-odbc-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString errorText(const QSqlError& error)
{
    // The driver's text carries the server's message; the native code helps support staff.
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed();
}

// ODBC SQL type codes for exact numerics.
constexpr int kSqlNumeric = 2;
constexpr int kSqlDecimal = 3;

} // namespace

SqlType odbcColumnType(int metaTypeId, int odbcTypeId)
{
    switch (metaTypeId) {
    case QMetaType::Bool:
        return SqlType::Bit;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return SqlType::DateTime;
    case QMetaType::Double:
    case QMetaType::Float:
        return SqlType::Decimal;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return SqlType::Integer;
    default:
        break;
    }
    if (odbcTypeId == kSqlNumeric || odbcTypeId == kSqlDecimal)
        return SqlType::Decimal;
    return SqlType::Text;
}

OdbcConnection::OdbcConnection(const QString& connectionString)
    : m_connectionName(nextConnectionName())
{
    QString message;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connectionName);
        if (!db.isValid()) {
            message = QStringLiteral("The ODBC driver of Qt (QODBC) is not installed.");
        } else {
            db.setDatabaseName(connectionString);
            // A dead server must not hang the log-in.
            db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=5;SQL_ATTR_CONNECTION_TIMEOUT=0"));
            if (!db.open())
                message = errorText(db.lastError());
        }
    }
    if (!message.isEmpty()) {
        QSqlDatabase::removeDatabase(m_connectionName);
        throw DatabaseError(message);
    }
}

OdbcConnection::~OdbcConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

ResultSet OdbcConnection::execute(const QString& statement)
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.exec(statement))
        throw DatabaseError(errorText(query.lastError()));
    if (!query.isSelect())
        return ResultSet();
    const QSqlRecord record = query.record();
    QStringList names;
    std::vector<SqlType> types;
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        names << field.name();
        types.push_back(odbcColumnType(field.metaType().id(), field.typeID()));
    }
    ResultSet result(names, types);
    while (query.next()) {
        for (int i = 0; i < record.count(); ++i)
            result.appendCell(valueText(query.value(i), types[static_cast<std::size_t>(i)]));
    }
    if (query.lastError().isValid())
        throw DatabaseError(errorText(query.lastError()));
    result.squeeze();
    return result;
}

RawResult OdbcConnection::fetch(const QString& statement)
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.exec(statement))
        throw DatabaseError(errorText(query.lastError()));
    RawResult result;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        result.columnNames << field.name();
        result.columnTypes.push_back(odbcColumnType(field.metaType().id(), field.typeID()));
    }
    while (query.next()) {
        std::vector<QVariant> row;
        row.reserve(static_cast<std::size_t>(record.count()));
        for (int i = 0; i < record.count(); ++i)
            row.push_back(query.value(i));
        result.rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throw DatabaseError(errorText(query.lastError()));
    return result;
}

int OdbcConnection::executeNative(const QString& statement, const QVariantList& parameters)
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(statement))
        throw DatabaseError(errorText(query.lastError()));
    for (const QVariant& value : parameters)
        query.addBindValue(value);
    if (!query.exec())
        throw DatabaseError(errorText(query.lastError()));
    return query.numRowsAffected();
}

QStringList OdbcConnection::primaryKey(const TableRef& table)
{
    const QString database = sqlBracket(table.database);
    const RawResult rows = fetch(
        QStringLiteral("SELECT KU.COLUMN_NAME FROM %1.INFORMATION_SCHEMA.TABLE_CONSTRAINTS TC "
                       "JOIN %1.INFORMATION_SCHEMA.KEY_COLUMN_USAGE KU ON TC.CONSTRAINT_NAME = KU.CONSTRAINT_NAME "
                       "AND TC.TABLE_SCHEMA = KU.TABLE_SCHEMA "
                       "WHERE TC.CONSTRAINT_TYPE = 'PRIMARY KEY' AND KU.TABLE_NAME = '%2' ORDER BY KU.ORDINAL_POSITION")
            .arg(database, sqlQuote(table.table)));
    QStringList key;
    for (const auto& row : rows.rows)
        key << row.at(0).toString();
    return key;
}

std::optional<SqlType> OdbcConnection::columnType(const TableRef& table, const QString& column)
{
    const QString cacheKey = (table.database + QStringLiteral("..") + table.table + QLatin1Char('.') + column).toLower();
    const auto cached = m_columnTypes.constFind(cacheKey);
    if (cached != m_columnTypes.constEnd())
        return *cached;
    const RawResult rows = fetch(QStringLiteral("SELECT DATA_TYPE FROM %1.INFORMATION_SCHEMA.COLUMNS "
                                                "WHERE TABLE_NAME = '%2' AND COLUMN_NAME = '%3'")
                                     .arg(sqlBracket(table.database), sqlQuote(table.table), sqlQuote(column)));
    std::optional<SqlType> type;
    if (!rows.rows.empty())
        type = sqlcompat::sqlTypeFromDeclared(rows.rows.front().at(0).toString().toStdString());
    m_columnTypes.insert(cacheKey, type);
    return type;
}

QVariant OdbcConnection::lastInsertedKey()
{
    const RawResult rows = fetch(QStringLiteral("SELECT @@IDENTITY"));
    return rows.rows.empty() ? QVariant() : rows.rows.front().at(0);
}

QString OdbcConnection::nativeTableName(const TableRef& table) const
{
    return sqlBracket(table.database) + QStringLiteral("..") + sqlBracket(table.table);
}

QString OdbcConnection::nativeColumnName(const QString& column) const
{
    return sqlBracket(column);
}

QString OdbcConnection::exactTextComparison() const
{
    // The server compares with the column's collation; a binary COLLATE clause would
    // fail on columns that are not text, and the recordset does not know them all.
    return QString();
}

QVariant OdbcConnection::nativeValue(const QString& text, SqlType type, const QString&) const
{
    if (type == SqlType::Bit) {
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return 1;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return 0;
    }
    if (type == SqlType::DateTime) {
        const QByteArray utf8 = text.toUtf8();
        const auto parsed = sqlcompat::parseSqlServerDateTime(std::string_view(utf8.constData(), utf8.size()));
        if (parsed.status != sqlcompat::DateParseStatus::Ok)
            throw DatabaseError(QString::fromUtf8(parsed.message()));
        const auto& v = parsed.value;
        return QDateTime(QDate(v.year, v.month, v.day), QTime(v.hour, v.minute, v.second, v.millisecond));
    }
    // The server converts text to the column's type and reports what it cannot take.
    return text;
}

QString OdbcConnection::description() const
{
    return QStringLiteral("SQL Server (ODBC)");
}

} // namespace vantik
