#include "host/data/connection.h"

#include "host/data/embedded_connection.h"
#include "host/data/odbc_connection.h"

namespace vantik {

Connection::~Connection() = default;

QString Connection::exactTextExpression(const QString&) const
{
    return QString();
}

const RawResult* namedResult(const RawResult& result, const QString& firstColumn)
{
    const auto named = [&](const RawResult& r) {
        return !r.columnNames.isEmpty() && r.columnNames.front().compare(firstColumn, Qt::CaseInsensitive) == 0;
    };
    if (named(result))
        return &result;
    for (const RawResult& later : result.laterResults) {
        if (named(later))
            return &later;
    }
    return nullptr;
}

std::unique_ptr<Connection> Connection::openEmbedded(const QString& folder)
{
    return std::make_unique<EmbeddedConnection>(folder);
}

std::unique_ptr<Connection> Connection::openOdbc(const QString& connectionString)
{
    return std::make_unique<OdbcConnection>(openQodbcSession(connectionString));
}

} // namespace vantik
