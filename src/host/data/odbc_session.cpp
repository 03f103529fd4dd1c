#include "host/data/odbc_session.h"

#include "host/data/database_error.h"
#include "host/data/value_text.h"

#include <QAtomicInteger>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sql.h>
#include <sqlext.h>

namespace vantik {

OdbcSession::~OdbcSession() = default;

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

class QodbcSession final : public OdbcSession {
public:
    explicit QodbcSession(const QString& connectionString)
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
                else
                    m_dbmsName = readDbmsName(db);
            }
        }
        if (!message.isEmpty()) {
            QSqlDatabase::removeDatabase(m_connectionName);
            throw DatabaseError(message);
        }
    }

    ~QodbcSession() override
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }

    QString dbmsName() const override { return m_dbmsName; }

    ResultSet execute(const QString& statement) override
    {
        QSqlQuery query(database());
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

    RawResult fetch(const QString& statement, const QVariantList& parameters) override
    {
        QSqlQuery query(database());
        query.setForwardOnly(true);
        run(query, statement, parameters);
        // A batch's statements before its SELECT may report counts of their own.
        while (!query.isSelect() && query.nextResult()) {
        }
        RawResult result;
        if (!query.isSelect())
            return result;
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

    int executeNative(const QString& statement, const QVariantList& parameters) override
    {
        QSqlQuery query(database());
        run(query, statement, parameters);
        return query.numRowsAffected();
    }

private:
    QSqlDatabase database() const { return QSqlDatabase::database(m_connectionName, false); }

    static void run(QSqlQuery& query, const QString& statement, const QVariantList& parameters)
    {
        bool ok;
        if (parameters.isEmpty()) {
            ok = query.exec(statement);
        } else {
            ok = query.prepare(statement);
            for (const QVariant& value : parameters)
                query.addBindValue(value);
            ok = ok && query.exec();
        }
        if (!ok)
            throw DatabaseError(errorText(query.lastError()));
    }

    static QString readDbmsName(const QSqlDatabase& db)
    {
        const QVariant handle = db.driver()->handle();
        if (!handle.isValid() || !handle.constData())
            return QString();
        SQLHANDLE connection = *static_cast<SQLHANDLE const*>(handle.constData());
        SQLCHAR name[128] = {};
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetInfo(connection, SQL_DBMS_NAME, name, sizeof name, &length)))
            return QString();
        return QString::fromUtf8(reinterpret_cast<const char*>(name));
    }

    QString m_connectionName;
    QString m_dbmsName;
};

} // namespace

std::unique_ptr<OdbcSession> openQodbcSession(const QString& connectionString)
{
    return std::make_unique<QodbcSession>(connectionString);
}

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

} // namespace vantik
