#pragma once

#include "host/data/odbc_session.h"

#include <deque>
#include <functional>
#include <vector>

namespace vantik::test {

/// Stands in for the ODBC driver of a SQL Server: notes every statement with its
/// parameters exactly as the ODBC backend sends it, and answers with the results
/// the test lines up (an empty result when none is left).
class RecordingOdbcSession final : public OdbcSession {
public:
    struct Sent {
        QString statement;
        QVariantList parameters;
    };

    /// What reconnect() notes in sent.
    static inline const QString kReconnected = QStringLiteral("(connection opened again)");

    explicit RecordingOdbcSession(QString dbms = QStringLiteral("Microsoft SQL Server"))
        : m_dbms(std::move(dbms))
    {
    }

    /// What went to the server, in order; shared with the test, which keeps the
    /// pointer while the connection owns the session.
    std::vector<Sent> sent;
    std::deque<RawResult> answers;
    /// Called with each statement once it is noted, before it is answered: a test
    /// throws DatabaseError here to play a server that fails it.
    std::function<void(const Sent&)> onSend;
    /// Called by reconnect(): a test throws here to play a server that cannot be reached.
    std::function<void()> onReconnect;

    /// A result of one row.
    static RawResult row(std::vector<QVariant> values, QStringList names = {})
    {
        RawResult result;
        result.columnNames = names;
        while (result.columnNames.size() < static_cast<qsizetype>(values.size()))
            result.columnNames << QString();
        result.columnTypes.assign(values.size(), SqlType::Unknown);
        result.rows.push_back(std::move(values));
        return result;
    }

    /// What a save batch answers: the rows it wrote (and the key it made).
    static RawResult saved(int rows, QVariant key = {})
    {
        if (key.isValid())
            return row({rows, key}, {"SavedRows", "NewKey"});
        return row({rows}, {"SavedRows"});
    }

    QString dbmsName() const override { return m_dbms; }
    ResultSet execute(const QString& statement) override
    {
        note(statement, {});
        return ResultSet();
    }
    RawResult fetch(const QString& statement, const QVariantList& parameters) override
    {
        note(statement, parameters);
        if (answers.empty())
            return RawResult();
        RawResult answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
    int executeNative(const QString& statement, const QVariantList& parameters) override
    {
        note(statement, parameters);
        return 0;
    }
    void applySettings(const QString& statement) override { note(statement, {}); }
    void reconnect() override
    {
        sent.push_back({kReconnected, {}});
        if (onReconnect)
            onReconnect();
    }

private:
    void note(const QString& statement, const QVariantList& parameters)
    {
        sent.push_back({statement, parameters});
        if (onSend)
            onSend(sent.back());
    }

    QString m_dbms;
};

} // namespace vantik::test
