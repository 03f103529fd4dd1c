#pragma once

#include "host/data/connection.h"
#include "host/data/row_writer.h"
#include "host/sqlcompat/catalog.h"

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace vantik {

/// The embedded engine: SQLite, the library the program links, with the four
/// database files attached under their SQL Server names. Statements are translated
/// from T-SQL and run on its handle, where the SQL Server functions and the
/// collation are registered.
class EmbeddedConnection final : public Connection {
public:
    explicit EmbeddedConnection(const QString& folder);
    ~EmbeddedConnection() override;

    ResultSet execute(const QString& statement) override;
    RawResult fetch(const QString& statement) override;
    int executeNative(const QString& statement, const QVariantList& parameters) override;
    RawResult fetchNative(const QString& statement, const QVariantList& parameters) override;
    const std::vector<sqlcompat::ColumnInfo>& tableColumns(const TableRef& table) override;
    QVariant lastInsertedKey() override;
    const RowWriter& rowWriter() const override { return *m_writer; }
    QString nativeTableName(const TableRef& table) const override;
    QString nativeColumnName(const QString& column) const override;
    QVariant nativeValue(const QString& text, const sqlcompat::ColumnInfo& column) const override;
    QString description() const override;
    void checkpoint() noexcept override;
    QString readOnlyNotice() const override;

    const sqlcompat::Catalog& catalog() const { return m_catalog; }
    /// The four files a folder must hold.
    static QStringList databaseNames();

    /// Copies the four databases into folder while other programs go on using them
    /// (SQLite's online backup): each copy is its database as it stood when the
    /// backup began, the saves still in its write-ahead log included. The folder is
    /// made when missing and must hold none of the four files; a backup that fails
    /// leaves none of them there. Throws DatabaseError.
    void backupTo(const QString& folder);

private:
    struct Prepared;
    struct ResultColumns;
    struct StatementCache;
    void prepareTranslated(const QString& statement, Prepared& prepared);
    sqlite3_stmt* prepareNative(const QString& statement, const QVariantList& parameters);
    void loadCatalog();
    // Opening the files and what they allow (embedded_files.cpp).
    void attachDatabase(const QString& schema, const QString& path);
    int attach(const QString& schema, const QString& file);
    [[noreturn]] void failToOpen(const QString& schema, int code);
    qint64 roomOnDisk() const;
    bool diskIsFull(int code) const;
    QString clearerMessage(int code) const;
    void useWriteAheadLog(const QString& schema);
    const sqlcompat::TableInfo& tableInfo(const TableRef& table) const;
    [[noreturn]] void fail(const QString& context = QString()) const;

    QString m_folder;
    sqlite3* m_handle = nullptr;
    sqlcompat::Catalog m_catalog;
    std::unique_ptr<StatementCache> m_cache;
    std::unique_ptr<RowWriter> m_writer;
    QStringList m_readOnly; // the databases opened read-only
};

} // namespace vantik
