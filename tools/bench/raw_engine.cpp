#include "tools/bench/raw_engine.h"

#include "host/sqlcompat/compat_functions.h"
#include "host/sqlcompat/translator.h"

#include <sqlite3.h>

#include <stdexcept>

namespace vantik::bench {

std::vector<RawStatement> rawStatements(const std::vector<RecordedStatement>& recorded,
                                        const sqlcompat::Catalog& catalog)
{
    std::vector<RawStatement> out;
    out.reserve(recorded.size());
    for (const RecordedStatement& statement : recorded) {
        RawStatement raw;
        const QByteArray text = statement.text.toUtf8();
        if (!statement.native) {
            raw.sql = sqlcompat::translateTsql(std::string_view(text.constData(), text.size()), catalog).sql;
        } else {
            raw.sql = text.toStdString();
            for (const QVariant& value : statement.parameters) {
                if (value.isNull() || !value.isValid())
                    raw.parameters.emplace_back(std::monostate());
                else if (value.typeId() == QMetaType::Bool)
                    raw.parameters.emplace_back(std::int64_t(value.toBool() ? 1 : 0));
                else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong
                         || value.typeId() == QMetaType::UInt || value.typeId() == QMetaType::ULongLong)
                    raw.parameters.emplace_back(std::int64_t(value.toLongLong()));
                else if (value.typeId() == QMetaType::Double)
                    raw.parameters.emplace_back(value.toDouble());
                else
                    raw.parameters.emplace_back(value.toString().toStdString());
            }
        }
        out.push_back(std::move(raw));
    }
    return out;
}

RawEngine::RawEngine(const std::string& folder)
{
    if (sqlite3_open_v2(":memory:", &m_handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        fail("Opening SQLite");
    if (!sqlcompat::registerSqlServerCompat(m_handle))
        fail("Registering the SQL Server functions");
    sqlite3_busy_timeout(m_handle, 5000);
    for (const char* name : {"Patient_Data", "Build_File", "Station", "MEDICARE"})
        exec("ATTACH DATABASE '" + folder + "/" + name + ".sqlite' AS \"" + name + "\"");
}

RawEngine::~RawEngine()
{
    sqlite3_close_v2(m_handle);
}

void RawEngine::fail(const std::string& context) const
{
    throw std::runtime_error(context + ": " + (m_handle ? sqlite3_errmsg(m_handle) : "no handle"));
}

void RawEngine::exec(const std::string& sql)
{
    if (sqlite3_exec(m_handle, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(sql);
}

std::int64_t RawEngine::run(const std::vector<RawStatement>& statements)
{
    std::int64_t rows = 0;
    for (const RawStatement& statement : statements) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_handle, statement.sql.data(), int(statement.sql.size()), &stmt, nullptr) != SQLITE_OK)
            fail(statement.sql);
        int index = 1;
        for (const RawStatement::Parameter& parameter : statement.parameters) {
            if (const auto* i = std::get_if<std::int64_t>(&parameter))
                sqlite3_bind_int64(stmt, index, *i);
            else if (const auto* d = std::get_if<double>(&parameter))
                sqlite3_bind_double(stmt, index, *d);
            else if (const auto* s = std::get_if<std::string>(&parameter))
                sqlite3_bind_text(stmt, index, s->data(), int(s->size()), SQLITE_STATIC);
            else
                sqlite3_bind_null(stmt, index);
            ++index;
        }
        const int columns = sqlite3_column_count(stmt);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            for (int i = 0; i < columns; ++i)
                sqlite3_column_text(stmt, i);
            ++rows;
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            fail(statement.sql);
    }
    return rows;
}

} // namespace vantik::bench
