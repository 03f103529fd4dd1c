#include "host/data/odbc_session.h"

#include "host/data/odbc_api.h"
#include "host/data/value_text.h"

#include <QAtomicInteger>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <algorithm>

namespace vantik {

OdbcSession::~OdbcSession() = default;

namespace {

// SQL Server's own ODBC types, which sqlext.h does not name.
constexpr int kSqlSsTime2 = -154;
constexpr int kSqlSsTimestampOffset = -155;

// FreeTDS's codes for a connection that is gone: connection failed, read and
// write failed, unable to connect, unexpected end of data, process dead.
constexpr int kFreeTdsConnectionCodes[] = {20002, 20004, 20006, 20009, 20017, 20047};
// FreeTDS's own timeout.
constexpr int kFreeTdsTimeout = 20003;
constexpr int kSqlServerDeadlockVictim = 1205;
constexpr int kSqlServerLockTimeout = 1222;

QString nextConnectionName()
{
    static QAtomicInteger<int> counter;
    return QStringLiteral("vantik-odbc-%1").arg(counter.fetchAndAddRelaxed(1));
}

SQLHANDLE handleOf(const QVariant& handle)
{
    if (!handle.isValid() || !handle.constData())
        return nullptr;
    return *static_cast<SQLHANDLE const*>(handle.constData());
}

void readDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, std::vector<OdbcDiagnostic>& out)
{
    for (const odbc::Diagnostic& d : odbc::diagnostics(handleType, handle))
        out.push_back({QString::fromStdU16String(d.state), d.native, QString::fromStdU16String(d.message)});
}

class QodbcSession final : public OdbcSession {
public:
    explicit QodbcSession(const QString& connectionString)
        : m_connectionString(connectionString)
        , m_connectionName(nextConnectionName())
    {
        open();
    }

    ~QodbcSession() override { close(); }

    QString dbmsName() const override { return m_dbmsName; }

    ResultSet execute(const QString& statement) override
    {
        QSqlQuery query(database());
        query.setForwardOnly(true);
        run(query, statement, {});
        if (!query.isSelect()) {
            drain(query);
            return ResultSet();
        }
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
        throwIfFailed(query);
        result.squeeze();
        return result;
    }

    RawResult fetch(const QString& statement, const QVariantList& parameters) override
    {
        QSqlQuery query(database());
        query.setForwardOnly(true);
        run(query, statement, parameters);
        RawResult first;
        bool haveFirst = false;
        // A batch's statements before its SELECT may report counts of their own,
        // and a trigger may return rows of its own: every result is read, so that
        // the caller can pick the one it asked for and no error goes unseen.
        do {
            if (!query.isSelect())
                continue;
            RawResult result = readRows(query);
            if (!haveFirst) {
                first = std::move(result);
                haveFirst = true;
            } else {
                first.laterResults.push_back(std::move(result));
            }
        } while (query.nextResult());
        throwIfFailed(query);
        return first;
    }

    int executeNative(const QString& statement, const QVariantList& parameters) override
    {
        QSqlQuery query(database());
        run(query, statement, parameters);
        return query.numRowsAffected();
    }

    void applySettings(const QString& statement) override
    {
        QSqlQuery query(database());
        // A scrollable cursor would make FreeTDS wrap the statement in a server
        // cursor, which takes a single SELECT only.
        query.setForwardOnly(true);
        if (!query.exec(statement))
            throw errorOf(query);
    }

    void reconnect() override
    {
        close();
        open();
    }

private:
    QSqlDatabase database() const { return QSqlDatabase::database(m_connectionName, false); }

    void open()
    {
        QString message;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connectionName);
            if (!db.isValid()) {
                message = QStringLiteral("The ODBC driver of Qt (QODBC) is not installed.");
            } else {
                db.setDatabaseName(m_connectionString);
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
            throw DatabaseError(message, DatabaseErrorKind::ConnectionLost);
        }
    }

    void close()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }

    static QString errorText(const QSqlError& error)
    {
        // The driver's text carries the server's message; the native code helps support staff.
        const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
        return text.trimmed();
    }

    // The failure of the query's last call, with its kind from the driver's
    // diagnostics (the statement's, then the connection's).
    DatabaseError errorOf(const QSqlQuery& query) const
    {
        std::vector<OdbcDiagnostic> diagnostics;
        if (query.result())
            readDiagnostics(SQL_HANDLE_STMT, handleOf(query.result()->handle()), diagnostics);
        const QSqlDatabase db = database();
        if (db.driver())
            readDiagnostics(SQL_HANDLE_DBC, handleOf(db.driver()->handle()), diagnostics);
        QString text = errorText(query.lastError());
        if (diagnostics.empty()) {
            const QString code = query.lastError().nativeErrorCode().section(QLatin1Char(';'), -1);
            diagnostics.push_back({QString(), code.toInt(), text});
        }
        if (text.isEmpty()) {
            // QODBC says nothing when it cannot even get a statement handle: the
            // connection is the likely cause.
            return DatabaseError(QStringLiteral("The database did not take the statement; the connection to it may "
                                                "be lost."),
                                 DatabaseErrorKind::ConnectionLost);
        }
        return DatabaseError(text, odbcErrorKind(diagnostics));
    }

    void throwIfFailed(const QSqlQuery& query) const
    {
        if (query.lastError().isValid())
            throw errorOf(query);
    }

    // Reads what is left of a statement that returned no rows first, so that an
    // error its later statements raise is not lost.
    void drain(QSqlQuery& query) const
    {
        while (query.nextResult()) {
        }
        throwIfFailed(query);
    }

    // Prepared even without parameters: only a prepared statement can be given
    // its query timeout before it runs.
    void run(QSqlQuery& query, const QString& statement, const QVariantList& parameters) const
    {
        if (!query.prepare(statement))
            throw errorOf(query);
        if (const SQLHANDLE stmt = query.result() ? handleOf(query.result()->handle()) : nullptr) {
            SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT,
                           reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(kQueryTimeoutSeconds)), 0);
        }
        for (const QVariant& value : parameters)
            query.addBindValue(value);
        if (!query.exec())
            throw errorOf(query);
    }

    RawResult readRows(QSqlQuery& query) const
    {
        RawResult result;
        const QSqlRecord record = query.record();
        bool anyImprecise = false;
        for (int i = 0; i < record.count(); ++i) {
            const QSqlField field = record.field(i);
            result.columnNames << field.name();
            result.columnTypes.push_back(odbcColumnType(field.metaType().id(), field.typeID()));
            result.imprecise.push_back(odbcColumnImprecise(field.typeID(), field.precision()));
            anyImprecise = anyImprecise || result.imprecise.back();
        }
        if (!anyImprecise)
            result.imprecise.clear();
        while (query.next()) {
            std::vector<QVariant> row;
            row.reserve(static_cast<std::size_t>(record.count()));
            for (int i = 0; i < record.count(); ++i)
                row.push_back(query.value(i));
            result.rows.push_back(std::move(row));
        }
        throwIfFailed(query);
        return result;
    }

    static QString readDbmsName(const QSqlDatabase& db)
    {
        return QString::fromStdU16String(odbc::infoText(handleOf(db.driver()->handle()), SQL_DBMS_NAME));
    }

    QString m_connectionString;
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
    if (odbcTypeId == SQL_BIT)
        return SqlType::Bit;
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
    if (odbcTypeId == SQL_NUMERIC || odbcTypeId == SQL_DECIMAL)
        return SqlType::Decimal;
    if (odbcTypeId == kSqlSsTimestampOffset)
        return SqlType::DateTime;
    return SqlType::Text;
}

bool odbcColumnImprecise(int odbcTypeId, int scale)
{
    switch (odbcTypeId) {
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIME:
    case SQL_TIME:
    case kSqlSsTime2:
        return scale > 3;
    case kSqlSsTimestampOffset:
        return true;
    default:
        return false;
    }
}

DatabaseErrorKind odbcErrorKind(const std::vector<OdbcDiagnostic>& diagnostics)
{
    const auto any = [&](auto test) { return std::any_of(diagnostics.begin(), diagnostics.end(), test); };
    if (any([](const OdbcDiagnostic& d) {
            return d.sqlState.startsWith(QLatin1String("08")) || d.sqlState == QLatin1String("HYT01")
                || std::find(std::begin(kFreeTdsConnectionCodes), std::end(kFreeTdsConnectionCodes), d.nativeCode)
                != std::end(kFreeTdsConnectionCodes);
        }))
        return DatabaseErrorKind::ConnectionLost;
    if (any([](const OdbcDiagnostic& d) {
            return d.nativeCode == kSqlServerDeadlockVictim || d.sqlState == QLatin1String("40001");
        }))
        return DatabaseErrorKind::Deadlock;
    if (any([](const OdbcDiagnostic& d) { return d.nativeCode == kSqlServerLockTimeout; }))
        return DatabaseErrorKind::LockTimeout;
    if (any([](const OdbcDiagnostic& d) {
            return d.sqlState == QLatin1String("HYT00") || d.nativeCode == kFreeTdsTimeout;
        }))
        return DatabaseErrorKind::QueryTimeout;
    return DatabaseErrorKind::General;
}

} // namespace vantik
