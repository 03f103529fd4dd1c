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
    RawResult fetchNative(const QString& statement, const QVariantList& parameters) override
    {
        return m_inner->fetchNative(statement, parameters);
    }
    const std::vector<sqlcompat::ColumnInfo>& tableColumns(const TableRef& table) override
    {
        return m_inner->tableColumns(table);
    }
    QVariant lastInsertedKey() override { return m_inner->lastInsertedKey(); }
    const RowWriter& rowWriter() const override { return m_inner->rowWriter(); }
    QString nativeTableName(const TableRef& table) const override { return m_inner->nativeTableName(table); }
    QString nativeColumnName(const QString& column) const override { return m_inner->nativeColumnName(column); }
    QVariant nativeValue(const QString& text, const sqlcompat::ColumnInfo& column) const override
    {
        return m_inner->nativeValue(text, column);
    }
    QString description() const override { return m_inner->description(); }
    bool hasTableRights() const override { return m_inner->hasTableRights(); }
    QString exactTextExpression(const QString& column) const override
    {
        return m_inner->exactTextExpression(column);
    }
    void checkpoint() noexcept override { m_inner->checkpoint(); }
    QString readOnlyNotice() const override { return m_inner->readOnlyNotice(); }

private:
    std::unique_ptr<Connection> m_inner;
};

} // namespace vantik
