#pragma once

#include "host/data/forwarding_connection.h"

#include <functional>

namespace vantik::test {

/// The clerk's connection, counting the statements that save and letting a test
/// act just before one of them or when a query is opened.
class WatchedConnection : public ForwardingConnection {
public:
    using ForwardingConnection::ForwardingConnection;

    RawResult fetch(const QString& statement) override
    {
        if (onFetch)
            onFetch();
        return ForwardingConnection::fetch(statement);
    }
    int executeNative(const QString& statement, const QVariantList& parameters) override
    {
        ++saves;
        if (beforeSave)
            beforeSave(saves);
        return ForwardingConnection::executeNative(statement, parameters);
    }

    int saves = 0;
    std::function<void(int)> beforeSave;
    std::function<void()> onFetch;
};

} // namespace vantik::test
