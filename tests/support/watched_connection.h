#pragma once

#include "host/data/connection.h"

#include <functional>
#include <memory>

namespace vantik::test {

/// The clerk's connection, counting the statements that save and letting a test
/// act just before one of them or when a query is opened.
class WatchedConnection : public Connection {
public:
    explicit WatchedConnection(std::unique_ptr<Connection> inner)
        : m_inner(std::move(inner))
    {
    }
    ResultSet execute(const QString& statement) override { return m_inner->execute(statement); }
    RawResult fetch(const QString& statement) override
    {
        if (onFetch)
            onFetch();
        return m_inner->fetch(statement);
    }
    int executeNative(const QString& statement, const QVariantList& parameters) override
    {
        ++saves;
        if (beforeSave)
            beforeSave(saves);
        return m_inner->executeNative(statement, parameters);
    }
    QStringList primaryKey(const TableRef& table) override { return m_inner->primaryKey(table); }
    std::optional<SqlType> columnType(const TableRef& table, const QString& column) override
    {
        return m_inner->columnType(table, column);
    }
    QVariant lastInsertedKey() override { return m_inner->lastInsertedKey(); }
    QString nativeTableName(const TableRef& table) const override { return m_inner->nativeTableName(table); }
    QString nativeColumnName(const QString& column) const override { return m_inner->nativeColumnName(column); }
    QString exactTextComparison() const override { return m_inner->exactTextComparison(); }
    QVariant nativeValue(const QString& text, SqlType type, const QString& column) const override
    {
        return m_inner->nativeValue(text, type, column);
    }
    QString description() const override { return m_inner->description(); }

    int saves = 0;
    std::function<void(int)> beforeSave;
    std::function<void()> onFetch;

private:
    std::unique_ptr<Connection> m_inner;
};

} // namespace vantik::test
