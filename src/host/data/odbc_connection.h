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

private:
    std::unique_ptr<OdbcSession> m_session;
    bool m_sqlite = false;
    std::unique_ptr<RowWriter> m_writer;
    // "db..table" in lower case; a map, so that references to its entries stay valid.
    std::map<QString, std::vector<sqlcompat::ColumnInfo>> m_tables;
};

/// The statement that reads the columns of a table from SQL Server's catalog:
/// name, type, length, precision, scale, computed, place in the primary key.
QString sqlServerColumnsStatement(const TableRef& table);

} // namespace vantik
