#pragma once

#include "host/data/connection.h"

#include <memory>

namespace vantik {

/// A connection that passes every call on to the one it wraps: the base of
/// connections that watch or record what the program sends.
class ForwardingConnection : public Connection {
public:
    explicit ForwardingConnection(std::unique_ptr<Connection> inner)
        : m_inner(std::move(inner))
    {
    }

    /// The wrapped connection, handed back; this one is then unusable.
    std::unique_ptr<Connection> release() { return std::move(m_inner); }

    ResultSet execute(const QString& statement) override { return m_inner->execute(statement); }
    RawResult fetch(const QString& statement) override { return m_inner->fetch(statement); }
    int executeNative(const QString& statement, const QVariantList& parameters) override
    {
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

private:
    std::unique_ptr<Connection> m_inner;
};

} // namespace vantik
