#pragma once

#include "host/data/connection.h"

#include <memory>
#include <vector>

namespace vantik::bench {

/// One statement the program sent to the database: T-SQL through execute or
/// fetch, or the backend's own SQL with its parameters through executeNative.
struct RecordedStatement {
    bool native = false;
    QString text;
    QVariantList parameters;
};

/// Passes every call on to the connection it wraps and notes the statements, so
/// that the raw engine can run exactly the same work afterwards.
class RecordingConnection final : public Connection {
public:
    explicit RecordingConnection(std::unique_ptr<Connection> inner)
        : m_inner(std::move(inner))
    {
    }

    std::unique_ptr<Connection> release() { return std::move(m_inner); }
    const std::vector<RecordedStatement>& statements() const { return m_statements; }

    ResultSet execute(const QString& statement) override
    {
        m_statements.push_back({false, statement, {}});
        return m_inner->execute(statement);
    }
    RawResult fetch(const QString& statement) override
    {
        m_statements.push_back({false, statement, {}});
        return m_inner->fetch(statement);
    }
    int executeNative(const QString& statement, const QVariantList& parameters) override
    {
        m_statements.push_back({true, statement, parameters});
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
    std::vector<RecordedStatement> m_statements;
};

} // namespace vantik::bench
