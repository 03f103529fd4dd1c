#pragma once

#include "host/data/connection.h"

#include <QHash>

namespace vantik {

/// SQL Server (or another ODBC source) through QODBC. Statements run as written.
class OdbcConnection final : public Connection {
public:
    explicit OdbcConnection(const QString& connectionString);
    ~OdbcConnection() override;

    ResultSet execute(const QString& statement) override;
    RawResult fetch(const QString& statement) override;
    int executeNative(const QString& statement, const QVariantList& parameters) override;
    QStringList primaryKey(const TableRef& table) override;
    std::optional<SqlType> columnType(const TableRef& table, const QString& column) override;
    QVariant lastInsertedKey() override;
    QString nativeTableName(const TableRef& table) const override;
    QString nativeColumnName(const QString& column) const override;
    QString exactTextComparison() const override;
    QVariant nativeValue(const QString& text, SqlType type, const QString& column) const override;
    QString description() const override;

private:
    QString m_connectionName;
    QHash<QString, std::optional<SqlType>> m_columnTypes; // "db..table.column", lower case
};

/// The kind of an ODBC result column, from what QODBC reports of it.
SqlType odbcColumnType(int metaTypeId, int odbcTypeId);

} // namespace vantik
