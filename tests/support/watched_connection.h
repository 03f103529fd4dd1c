#pragma once

#include "host/data/forwarding_connection.h"

#include <functional>

namespace vantik::test {

/// The clerk's connection, counting the saves and letting a test act just
/// before one of them or when a query is opened.
///
/// A save is one unit however many statements it takes: on SQLite a write
/// transaction (BEGIN IMMEDIATE or a savepoint, the write, COMMIT), on SQL Server
/// one batch. beforeSave runs before the first of them, while the clerk's
/// connection holds no lock, so that another connection can still write.
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
        const QString head = statement.section(QLatin1Char(' '), 0, 0).toUpper();
        const bool ends = head == QLatin1String("COMMIT") || head == QLatin1String("ROLLBACK")
            || head == QLatin1String("RELEASE");
        if (!ends && !m_inSave)
            startSave();
        if (head == QLatin1String("BEGIN") || head == QLatin1String("SAVEPOINT"))
            m_inSave = true;
        else if (head == QLatin1String("COMMIT") || head == QLatin1String("RELEASE")
                 || (head == QLatin1String("ROLLBACK") && !statement.contains(QLatin1String(" TO "))))
            m_inSave = false;
        return ForwardingConnection::executeNative(statement, parameters);
    }
    RawResult fetchNative(const QString& statement, const QVariantList& parameters) override
    {
        if (!m_inSave)
            startSave();
        return ForwardingConnection::fetchNative(statement, parameters);
    }

    int saves = 0;
    std::function<void(int)> beforeSave;
    std::function<void()> onFetch;

private:
    void startSave()
    {
        ++saves;
        if (beforeSave)
            beforeSave(saves);
    }

    bool m_inSave = false;
};

} // namespace vantik::test
