#include "host/data/connection.h"

#include "host/data/embedded_connection.h"
#include "host/data/odbc_connection.h"

namespace vantik {

Connection::~Connection() = default;

std::unique_ptr<Connection> Connection::openEmbedded(const QString& folder)
{
    return std::make_unique<EmbeddedConnection>(folder);
}

std::unique_ptr<Connection> Connection::openOdbc(const QString& connectionString)
{
    return std::make_unique<OdbcConnection>(openQodbcSession(connectionString));
}

} // namespace vantik
