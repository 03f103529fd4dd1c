#include "host/data/embedded_connection.h"

#include "host/data/column_value.h"
#include "host/data/database_error.h"
#include "host/data/embedded_internal.h"
#include "host/data/statement_shape.h"
#include "host/data/value_text.h"
#include "host/sqlcompat/compat_functions.h"
#include "host/sqlcompat/datetime.h"
#include "host/sqlcompat/translator.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>

namespace vantik {

using embedded::kBusyTimeoutMs;
using embedded::quoteName;

namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

QString canonicalDatabase(const QString& name)
{
    for (const QString& known : EmbeddedConnection::databaseNames()) {
        if (known.compare(name, Qt::CaseInsensitive) == 0)
            return known;
    }
    return QString();
}

// Appends the text form of column i of the current row; the kinds decide how
// integers (bits) and texts (datetimes) read.
void appendCellText(ResultSet& result, sqlite3_stmt* statement, int i, SqlType type)
{
    switch (sqlite3_column_type(statement, i)) {
    case SQLITE_NULL:
        result.appendCellUtf8(nullptr, 0);
        return;
    case SQLITE_INTEGER: {
        const sqlite3_int64 value = sqlite3_column_int64(statement, i);
        if (type == SqlType::Bit) {
            result.appendCell(value != 0 ? u"True" : u"False");
            return;
        }
        char buffer[24];
        const int length = std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
        result.appendCellUtf8(buffer, length);
        return;
    }
    case SQLITE_FLOAT: {
        const double value = sqlite3_column_double(statement, i);
        if (type == SqlType::Bit) {
            result.appendCell(value != 0.0 ? u"True" : u"False");
            return;
        }
        result.appendCell(decimalText(value));
        return;
    }
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
        const int length = sqlite3_column_bytes(statement, i);
        if (type == SqlType::DateTime) {
            if (const auto value = sqlcompat::fromStorageText(std::string_view(text ? text : "", length))) {
                const std::string shown = sqlcompat::formatDisplayText(*value);
                result.appendCellUtf8(shown.data(), static_cast<int>(shown.size()));
                return;
            }
        }
        result.appendCellUtf8(text, length);
        return;
    }
    }
}

QVariant nativeColumnValue(sqlite3_stmt* statement, int i)
{
    switch (sqlite3_column_type(statement, i)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(statement, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, i));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, i)),
                                   sqlite3_column_bytes(statement, i)));
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                                          sqlite3_column_bytes(statement, i)));
    }
}

} // namespace

// What a statement's rows look like: SQL Server's names and kinds of its columns.
struct EmbeddedConnection::ResultColumns {
    bool returnsRows = false;
    QStringList names;
    std::vector<SqlType> types;

    ResultColumns(const sqlcompat::Translation& translation, sqlite3_stmt* statement)
        : returnsRows(translation.returnsRows)
    {
        const int columns = sqlite3_column_count(statement);
        types.assign(static_cast<std::size_t>(columns), SqlType::Unknown);
        for (int i = 0; i < columns; ++i) {
            const auto index = static_cast<std::size_t>(i);
            names << (index < translation.columnNames.size() ? QString::fromStdString(translation.columnNames[index])
                                                             : QString::fromUtf8(sqlite3_column_name(statement, i)));
            if (index < translation.columnTypes.size())
                types[index] = translation.columnTypes[index];
        }
    }
};

// Statements kept prepared between calls. A batch pass sends the same statement
// for each row with another identifier in it: translating and preparing it once
// and binding the literals as parameters costs a fraction of doing both per row.
struct EmbeddedConnection::StatementCache {
    struct Shape {
        bool parameterized = false; // false: the shape's literals cannot be parameters
        StatementPtr statement;
        std::optional<ResultColumns> columns;
    };
    // Enough for every statement a pass repeats; older ones go when it fills.
    static constexpr std::size_t kLimit = 64;

    std::unordered_map<std::string, Shape> shapes;
    std::unordered_map<std::string, StatementPtr> native;

    template <typename Map>
    static void makeRoom(Map& map)
    {
        if (map.size() >= kLimit)
            map.clear();
    }
};

// A statement ready to step: a cached one is reset when the call is done with it.
struct EmbeddedConnection::Prepared {
    sqlite3_stmt* statement = nullptr;
    StatementPtr owned;
    const ResultColumns* columns = nullptr;
    std::optional<ResultColumns> ownColumns;

    Prepared() = default;
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;
    ~Prepared()
    {
        if (statement && !owned) {
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        }
    }
};

QStringList EmbeddedConnection::databaseNames()
{
    return {QStringLiteral("Patient_Data"), QStringLiteral("Build_File"), QStringLiteral("Station"),
            QStringLiteral("MEDICARE")};
}

EmbeddedConnection::EmbeddedConnection(const QString& folder)
    : m_folder(QDir(folder).absolutePath())
    , m_cache(std::make_unique<StatementCache>())
    , m_writer(makeSqliteRowWriter([this] { return m_handle && sqlite3_get_autocommit(m_handle) == 0; }))
{
    const QDir dir(m_folder);
    if (!dir.exists())
        throw DatabaseError(QStringLiteral("The database folder %1 does not exist.").arg(QDir::toNativeSeparators(m_folder)));
    for (const QString& name : databaseNames()) {
        const QFileInfo file(dir.filePath(name + QStringLiteral(".sqlite")));
        if (!file.isFile())
            throw DatabaseError(QStringLiteral("The database folder %1 has no %2.")
                                    .arg(QDir::toNativeSeparators(m_folder), file.fileName()));
    }

    // Opened with the SQLite the program links, never through Qt's SQLite plugin: on
    // Windows the plugin carries a copy of its own, and the functions, collation and
    // backups below must work on a handle of the library that made it. The flags are
    // those the plugin used: a private cache, one thread at a time, file: URIs (a
    // folder the program may only read is attached as mode=ro&immutable=1; plain
    // paths, which never start with "file:", are read as before).
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_PRIVATECACHE | SQLITE_OPEN_URI
        | SQLITE_OPEN_NOMUTEX;
    const int opened = sqlite3_open_v2(":memory:", &m_handle, flags, nullptr);
    if (opened != SQLITE_OK) {
        const QString message = m_handle ? QString::fromUtf8(sqlite3_errmsg(m_handle))
                                         : QString::fromUtf8(sqlite3_errstr(opened));
        sqlite3_close(m_handle);
        m_handle = nullptr;
        throw DatabaseError(QStringLiteral("The embedded database cannot be opened: %1").arg(message));
    }
    try {
        // The failures below are told by their extended codes (a full disk, a file
        // another program locks, a folder that went read-only).
        sqlite3_extended_result_codes(m_handle, 1);
        if (!sqlcompat::registerSqlServerCompat(m_handle))
            fail(QStringLiteral("Registering the SQL Server functions"));
        sqlite3_busy_timeout(m_handle, kBusyTimeoutMs);
        for (const QString& name : databaseNames())
            attachDatabase(name, dir.filePath(name + QStringLiteral(".sqlite")));
        loadCatalog();
    } catch (...) {
        m_cache.reset();
        sqlite3_close(m_handle);
        m_handle = nullptr;
        throw;
    }
}

EmbeddedConnection::~EmbeddedConnection()
{
    m_cache.reset(); // the handle closes only without open statements
    // Closing cleanly leaves every save in the database files, even while other
    // programs keep the write-ahead log open.
    checkpoint();
    sqlite3_close(m_handle);
}

void EmbeddedConnection::fail(const QString& context) const
{
    QString message = clearerMessage(sqlite3_extended_errcode(m_handle));
    if (message.isEmpty())
        message = QString::fromUtf8(sqlite3_errmsg(m_handle));
    throw DatabaseError(context.isEmpty() ? message : context + QStringLiteral(": ") + message);
}

void EmbeddedConnection::loadCatalog()
{
    for (const QString& schema : databaseNames()) {
        const RawResult tables = [&] {
            RawResult out;
            sqlite3_stmt* raw = nullptr;
            const QByteArray sql = QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table'")
                                       .arg(quoteName(schema))
                                       .toUtf8();
            if (sqlite3_prepare_v2(m_handle, sql.constData(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
                fail(QStringLiteral("Reading the tables of %1").arg(schema));
            StatementPtr statement(raw);
            int rc;
            while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW)
                out.rows.push_back({nativeColumnValue(statement.get(), 0)});
            if (rc != SQLITE_DONE)
                fail(QStringLiteral("Reading the tables of %1").arg(schema));
            return out;
        }();
        for (const auto& row : tables.rows) {
            sqlcompat::TableInfo table;
            table.schema = schema.toStdString();
            table.name = row.at(0).toString().toStdString();
            const QByteArray sql = QStringLiteral("PRAGMA %1.table_info(%2)")
                                       .arg(quoteName(schema), quoteName(row.at(0).toString()))
                                       .toUtf8();
            sqlite3_stmt* raw = nullptr;
            if (sqlite3_prepare_v2(m_handle, sql.constData(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
                fail();
            StatementPtr statement(raw);
            while (sqlite3_step(statement.get()) == SQLITE_ROW) {
                sqlcompat::ColumnInfo column;
                column.name = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 1));
                const char* declared = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 2));
                const sqlcompat::DeclaredType type = sqlcompat::parseDeclaredType(declared ? declared : "");
                column.type = type.kind;
                column.typeName = type.name;
                column.length = type.length;
                column.precision = type.precision;
                column.scale = type.scale;
                column.keyOrdinal = sqlite3_column_int(statement.get(), 5);
                column.primaryKey = column.keyOrdinal > 0;
                table.columns.push_back(std::move(column));
            }
            m_catalog.addTable(std::move(table));
        }
    }
}

void EmbeddedConnection::prepareTranslated(const QString& statement, Prepared& prepared)
{
    const QByteArray tsql = statement.toUtf8();
    const std::string_view text(tsql.constData(), static_cast<std::size_t>(tsql.size()));
    const StatementShape shape = statementShape(text);

    if (shape.complete) {
        const auto cached = m_cache->shapes.find(shape.key);
        if (cached != m_cache->shapes.end() && cached->second.parameterized) {
            sqlite3_stmt* stmt = cached->second.statement.get();
            prepared.statement = stmt;
            prepared.columns = &*cached->second.columns;
            for (std::size_t i = 0; i < shape.literals.size(); ++i) {
                const std::string value = literalValue(shape.literals[i]);
                if (sqlite3_bind_text(stmt, int(i) + 1, value.data(), int(value.size()), SQLITE_TRANSIENT) != SQLITE_OK)
                    fail();
            }
            return;
        }
    }

    sqlcompat::Translation translation;
    try {
        translation = sqlcompat::translateTsql(text, m_catalog);
    } catch (const sqlcompat::TranslationError& error) {
        throw DatabaseError(QString::fromUtf8(error.what()));
    }
    auto prepare = [this](const std::string& sql) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(m_handle, sql.data(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
            throw DatabaseError(QString::fromStdString(sqlcompat::preparedStatementMessage(sqlite3_errmsg(m_handle))));
        return StatementPtr(raw);
    };
    StatementPtr statementPtr = prepare(translation.sql);

    if (shape.complete && !m_cache->shapes.contains(shape.key)) {
        StatementCache::makeRoom(m_cache->shapes);
        StatementCache::Shape entry;
        if (auto parameterized = parameterizedTranslation(shape, translation, m_catalog)) {
            sqlite3_stmt* raw = nullptr;
            const std::string& sql = parameterized->sql;
            if (sqlite3_prepare_v2(m_handle, sql.data(), static_cast<int>(sql.size()), &raw, nullptr) == SQLITE_OK) {
                entry.parameterized = true;
                entry.statement.reset(raw);
                entry.columns.emplace(*parameterized, raw);
            }
        }
        m_cache->shapes.emplace(shape.key, std::move(entry));
    }

    prepared.owned = std::move(statementPtr);
    prepared.statement = prepared.owned.get();
    prepared.ownColumns.emplace(translation, prepared.statement);
    prepared.columns = &*prepared.ownColumns;
}

ResultSet EmbeddedConnection::execute(const QString& statement)
{
    Prepared prepared;
    prepareTranslated(statement, prepared);
    sqlite3_stmt* stmt = prepared.statement;
    const ResultColumns& shape = *prepared.columns;
    const int columns = static_cast<int>(shape.types.size());
    if (!shape.returnsRows || columns == 0) {
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            fail();
        return ResultSet();
    }

    ResultSet result(shape.names, shape.types);
    result.reserve(64, 12);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i)
            appendCellText(result, stmt, i, shape.types[static_cast<std::size_t>(i)]);
    }
    if (rc != SQLITE_DONE)
        fail();
    // A list the size of a year is kept all day in the grid.
    result.squeeze();
    return result;
}

RawResult EmbeddedConnection::fetch(const QString& statement)
{
    Prepared prepared;
    prepareTranslated(statement, prepared);
    sqlite3_stmt* stmt = prepared.statement;
    const int columns = static_cast<int>(prepared.columns->types.size());
    RawResult result;
    result.columnNames = prepared.columns->names;
    result.columnTypes = prepared.columns->types;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<QVariant> row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(nativeColumnValue(stmt, i));
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        fail();
    return result;
}

sqlite3_stmt* EmbeddedConnection::prepareNative(const QString& statement, const QVariantList& parameters)
{
    // Recordsets save with the same text for every record of a table.
    std::string sql = statement.toStdString();
    auto cached = m_cache->native.find(sql);
    if (cached == m_cache->native.end()) {
        sqlite3_stmt* prepared = nullptr;
        if (sqlite3_prepare_v2(m_handle, sql.data(), static_cast<int>(sql.size()), &prepared, nullptr) != SQLITE_OK)
            fail();
        StatementCache::makeRoom(m_cache->native);
        cached = m_cache->native.emplace(std::move(sql), StatementPtr(prepared)).first;
    }
    sqlite3_stmt* raw = cached->second.get();
    for (int i = 0; i < parameters.size(); ++i) {
        const QVariant& value = parameters.at(i);
        int rc;
        if (value.isNull() || !value.isValid()) {
            rc = sqlite3_bind_null(raw, i + 1);
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int(raw, i + 1, value.toBool() ? 1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
                rc = sqlite3_bind_int64(raw, i + 1, value.toLongLong());
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(raw, i + 1, value.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                rc = sqlite3_bind_blob(raw, i + 1, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QDateTime: {
                // The storage form, so that it compares equal to a stored datetime.
                const QByteArray text = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
                rc = sqlite3_bind_text(raw, i + 1, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray text = value.toString().toUtf8();
                rc = sqlite3_bind_text(raw, i + 1, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK) {
            sqlite3_clear_bindings(raw);
            fail();
        }
    }
    return raw;
}

namespace {

// A cached native statement is reset when the call is done with it.
struct ResetAfterUse {
    sqlite3_stmt* statement;
    ~ResetAfterUse()
    {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

} // namespace

int EmbeddedConnection::executeNative(const QString& statement, const QVariantList& parameters)
{
    sqlite3_stmt* raw = prepareNative(statement, parameters);
    const ResetAfterUse resetAfterUse{raw};
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        fail();
    return sqlite3_changes(m_handle);
}

RawResult EmbeddedConnection::fetchNative(const QString& statement, const QVariantList& parameters)
{
    sqlite3_stmt* raw = prepareNative(statement, parameters);
    const ResetAfterUse resetAfterUse{raw};
    RawResult result;
    const int columns = sqlite3_column_count(raw);
    for (int i = 0; i < columns; ++i) {
        result.columnNames << QString::fromUtf8(sqlite3_column_name(raw, i));
        result.columnTypes.push_back(SqlType::Unknown);
    }
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        std::vector<QVariant> row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(nativeColumnValue(raw, i));
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        fail();
    return result;
}

const sqlcompat::TableInfo& EmbeddedConnection::tableInfo(const TableRef& table) const
{
    const QByteArray database = table.database.toUtf8();
    const QByteArray name = table.table.toUtf8();
    const sqlcompat::TableInfo* info = m_catalog.find(database.toStdString(), name.toStdString());
    if (!info)
        throw DatabaseError(QStringLiteral("Invalid object name '%1..%2'.").arg(table.database, table.table));
    return *info;
}

const std::vector<sqlcompat::ColumnInfo>& EmbeddedConnection::tableColumns(const TableRef& table)
{
    return tableInfo(table).columns;
}

QVariant EmbeddedConnection::lastInsertedKey()
{
    return QVariant(static_cast<qlonglong>(sqlite3_last_insert_rowid(m_handle)));
}

QString EmbeddedConnection::nativeTableName(const TableRef& table) const
{
    QString database = canonicalDatabase(table.database);
    if (database.isEmpty())
        throw DatabaseError(QStringLiteral("Invalid object name '%1..%2'.").arg(table.database, table.table));
    return quoteName(database) + QLatin1Char('.') + quoteName(table.table);
}

QString EmbeddedConnection::nativeColumnName(const QString& column) const
{
    return quoteName(column);
}

QVariant EmbeddedConnection::nativeValue(const QString& text, const sqlcompat::ColumnInfo& column) const
{
    const ColumnValue value = checkColumnValue(text, column);
    switch (value.kind) {
    case SqlType::DateTime:
        return QString::fromStdString(sqlcompat::toStorageText(value.dateTime));
    case SqlType::Integer:
    case SqlType::Bit:
        return value.integer;
    case SqlType::Decimal:
        return value.number;
    default:
        return value.text;
    }
}

QString EmbeddedConnection::description() const
{
    return QStringLiteral("Embedded database (%1)").arg(QDir::toNativeSeparators(m_folder));
}

} // namespace vantik
