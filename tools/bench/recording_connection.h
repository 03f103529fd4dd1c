#pragma once

#include "host/data/forwarding_connection.h"

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
class RecordingConnection final : public ForwardingConnection {
public:
    using ForwardingConnection::ForwardingConnection;

    const std::vector<RecordedStatement>& statements() const { return m_statements; }

    ResultSet execute(const QString& statement) override
    {
        m_statements.push_back({false, statement, {}});
        return ForwardingConnection::execute(statement);
    }
    RawResult fetch(const QString& statement) override
    {
        m_statements.push_back({false, statement, {}});
        return ForwardingConnection::fetch(statement);
    }
    int executeNative(const QString& statement, const QVariantList& parameters) override
    {
        m_statements.push_back({true, statement, parameters});
        return ForwardingConnection::executeNative(statement, parameters);
    }

private:
    std::vector<RecordedStatement> m_statements;
};

} // namespace vantik::bench
