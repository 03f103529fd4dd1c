#include "host/data/connection.h"

#include "host/data/embedded_connection.h"
#include "host/data/odbc_connection.h"

#include <algorithm>

namespace vantik {

Connection::~Connection() = default;

std::unique_ptr<Connection> Connection::openEmbedded(const QString& folder)
{
    return std::make_unique<EmbeddedConnection>(folder);
}

QStringList Connection::primaryKey(const TableRef& table)
{
    std::vector<std::pair<int, QString>> key;
    for (const sqlcompat::ColumnInfo& c : tableColumns(table)) {
        if (c.keyOrdinal > 0)
            key.emplace_back(c.keyOrdinal, QString::fromStdString(c.name));
    }
    std::sort(key.begin(), key.end());
    QStringList names;
    for (const auto& [ordinal, name] : key)
        names << name;
    return names;
}

std::optional<sqlcompat::ColumnInfo> Connection::column(const TableRef& table, const QString& name)
{
    const QByteArray wanted = name.toUtf8();
    for (const sqlcompat::ColumnInfo& c : tableColumns(table)) {
        if (sqlcompat::equalsIgnoreCase(c.name, std::string_view(wanted.constData(), wanted.size())))
            return c;
    }
    return std::nullopt;
}

std::optional<SqlType> Connection::columnType(const TableRef& table, const QString& name)
{
    const auto found = column(table, name);
    return found ? std::optional(found->type) : std::nullopt;
}

std::unique_ptr<Connection> Connection::openOdbc(const QString& connectionString)
{
    return std::make_unique<OdbcConnection>(openQodbcSession(connectionString));
}

} // namespace vantik
