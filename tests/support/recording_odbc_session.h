#pragma once

#include "host/data/odbc_session.h"

#include <deque>
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

    explicit RecordingOdbcSession(QString dbms = QStringLiteral("Microsoft SQL Server"))
        : m_dbms(std::move(dbms))
    {
    }

    /// What went to the server, in order; shared with the test, which keeps the
    /// pointer while the connection owns the session.
    std::vector<Sent> sent;
    std::deque<RawResult> answers;

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

    QString dbmsName() const override { return m_dbms; }
    ResultSet execute(const QString& statement) override
    {
        sent.push_back({statement, {}});
        return ResultSet();
    }
    RawResult fetch(const QString& statement, const QVariantList& parameters) override
    {
        sent.push_back({statement, parameters});
        if (answers.empty())
            return RawResult();
        RawResult answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
    int executeNative(const QString& statement, const QVariantList& parameters) override
    {
        sent.push_back({statement, parameters});
        return 0;
    }

private:
    QString m_dbms;
};

} // namespace vantik::test
