#pragma once

#include "host/data/connection.h"
#include "host/data/odbc_session.h"
#include "host/data/row_writer.h"

#include <map>

namespace vantik {

/// SQL Server through ODBC; statements run as written. SQLite through its ODBC
/// driver is told apart by the driver's product name and served in SQLite's
/// dialect (T-SQL's db..table read as db.table), so that the tests run the ODBC
/// path without a SQL Server.
///
/// On SQL Server a wait never lasts without end and a broken connection does not
/// stay broken:
/// - each connection is set up with sqlServerSessionSettings() (the date format
///   the date boxes use, whatever the login's language; a lock timeout), again
///   whenever it is opened again;
/// - a lock or query timeout fails with "Record busy, try again" (kRecordBusyMessage);
/// - a read or a save batch that the server chose as a deadlock victim (and so
///   rolled back whole) is run again, kDeadlockAttempts times at most;
/// - a lost connection is opened again before the next statement; a read that
///   lost it is run once more on the new one, a save is not (the row writer
///   learns whether it was saved).
class OdbcConnection final : public Connection {
public:
    explicit OdbcConnection(std::unique_ptr<OdbcSession> session);
    ~OdbcConnection() override;

    ResultSet execute(const QString& statement) override;
    RawResult fetch(const QString& statement) override;
    int executeNative(const QString& statement, const QVariantList& parameters) override;
    RawResult fetchNative(const QString& statement, const QVariantList& parameters) override;
    const std::vector<sqlcompat::ColumnInfo>& tableColumns(const TableRef& table) override;
    QVariant lastInsertedKey() override;
    const RowWriter& rowWriter() const override { return *m_writer; }
    QString nativeTableName(const TableRef& table) const override;
    QString nativeColumnName(const QString& column) const override;
    QVariant nativeValue(const QString& text, const sqlcompat::ColumnInfo& column) const override;
    QString description() const override;
    bool hasTableRights() const override { return !m_sqlite; }
    QString exactTextExpression(const QString& column) const override;

private:
    enum class Retry { Read, AtomicBatch, None };
    template <typename Call>
    auto run(Retry retry, Call&& call) -> decltype(call());
    void reopen();

    std::unique_ptr<OdbcSession> m_session;
    bool m_sqlite = false;
    bool m_lost = false;
    std::unique_ptr<RowWriter> m_writer;
    // "db..table" in lower case; a map, so that references to its entries stay valid.
    std::map<QString, std::vector<sqlcompat::ColumnInfo>> m_tables;
};

/// Milliseconds a statement waits for another connection's lock before it fails.
inline constexpr int kLockTimeoutMilliseconds = 5000;
/// Runs of a deadlock victim's batch, the first included.
inline constexpr int kDeadlockAttempts = 3;

/// What every SQL Server connection is set to when it opens: dates typed as
/// mm/dd/yyyy read month first under every login language, and no lock wait
/// without end.
QString sqlServerSessionSettings();

/// The statement that reads the columns of a table from SQL Server's catalog:
/// name, type, length, precision, scale, computed, place in the primary key.
QString sqlServerColumnsStatement(const TableRef& table);

} // namespace vantik
