// The embedded engine's files: opening them as far as the folder allows, saying
// plainly why they cannot be opened or written, moving the write-ahead log into
// them, and copying them while in use.

#include "host/data/database_error.h"
#include "host/data/embedded_connection.h"
#include "host/data/embedded_internal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace vantik {

using embedded::kBusyTimeoutMs;
using embedded::quoteName;

namespace {

// Opening a file in the write-ahead log's mode makes its shared-memory file
// (32 KB) and a log; below this much room an I/O error at opening is taken for a
// full disk.
constexpr qint64 kRoomToOpen = 1024 * 1024;
// A checkpoint waits this long at most for other programs' readers to leave the
// log: at the end of a batch or at closing, the clerk must not wait on them.
constexpr int kCheckpointWaitMs = 250;

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The file as a read-only URI: percent-encoded, so that no character of the path
// passes for a query parameter.
QString readOnlyUri(const QString& path, bool immutable)
{
    return QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/"))
        + (immutable ? QStringLiteral("?immutable=1") : QStringLiteral("?mode=ro"));
}

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

} // namespace

QString embedded::quoteName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

int EmbeddedConnection::attach(const QString& schema, const QString& file)
{
    const QByteArray sql = QStringLiteral("ATTACH DATABASE ? AS %1").arg(quoteName(schema)).toUtf8();
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(m_handle, sql.constData(), int(sql.size()), &statement, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray name = file.toUtf8();
        rc = sqlite3_bind_text(statement, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(statement);
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    // The code before finalizing, which keeps it for sqlite3_errmsg but may reset it.
    rc = rc == SQLITE_OK ? SQLITE_OK : sqlite3_extended_errcode(m_handle);
    sqlite3_finalize(statement);
    return rc;
}

// Attaching reads the file's schema, and in the write-ahead log's mode that needs
// the log and its shared-memory file beside it: a folder the program may not
// write refuses to make them, a full disk fails to fill them.
void EmbeddedConnection::attachDatabase(const QString& schema, const QString& path)
{
    int rc = attach(schema, path);
    const int primary = rc & 0xff;
    if ((primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN) && !diskIsFull(rc)) {
        // Read-only, then. A log left by another program holds saves that are not
        // in the file yet: read through it. Without one (a folder nobody writes in
        // now) the file is the whole database and is read as unchanging.
        const bool hasLog = QFileInfo::exists(path + QStringLiteral("-wal"));
        rc = attach(schema, readOnlyUri(path, !hasLog));
        if (rc == SQLITE_OK)
            m_readOnly.append(schema);
    }
    if (rc != SQLITE_OK)
        failToOpen(schema, rc);
    // Files that are read-only themselves open read-only too, in a folder the
    // program may write.
    if (!m_readOnly.contains(schema) && sqlite3_db_readonly(m_handle, schema.toUtf8().constData()) == 1)
        m_readOnly.append(schema);
    if (!m_readOnly.contains(schema))
        useWriteAheadLog(schema);
}

void EmbeddedConnection::failToOpen(const QString& schema, int code)
{
    QString message = clearerMessage(code);
    if (message.isEmpty())
        message = QString::fromUtf8(sqlite3_errmsg(m_handle));
    throw DatabaseError(QStringLiteral("%1.sqlite cannot be opened: %2").arg(schema, message));
}

qint64 EmbeddedConnection::roomOnDisk() const
{
    const QStorageInfo disk(m_folder);
    return disk.isValid() ? disk.bytesAvailable() : -1;
}

bool EmbeddedConnection::diskIsFull(int code) const
{
    const int primary = code & 0xff;
    if (primary == SQLITE_FULL)
        return true;
    if (primary != SQLITE_IOERR && primary != SQLITE_CANTOPEN)
        return false;
    const int osError = sqlite3_system_errno(m_handle);
    if (osError == ENOSPC || osError == EDQUOT)
        return true;
    const qint64 room = roomOnDisk();
    return room >= 0 && room < kRoomToOpen;
}

// SQLite's words for a full disk ("disk I/O error" while making the log's shared
// memory) and for a read-only file do not tell the clerk what to do.
QString EmbeddedConnection::clearerMessage(int code) const
{
    if (diskIsFull(code)) {
        return QStringLiteral("The disk holding the database folder %1 is full (%2 free); make room on it and try "
                              "again.")
            .arg(nativePath(m_folder), QLocale::c().formattedDataSize(std::max<qint64>(roomOnDisk(), 0)));
    }
    if ((code & 0xff) == SQLITE_READONLY) {
        return QStringLiteral("The database is read-only: the folder %1 or its files cannot be written, so "
                              "nothing can be saved.")
            .arg(nativePath(m_folder));
    }
    return QString();
}

// With the write-ahead log a save syncs one file once, where the rollback
// journal synced the journal twice, the database and its folder; and one
// clerk's listing no longer holds off another clerk's save. Every commit is
// still on disk before the save returns (synchronous FULL).
void EmbeddedConnection::useWriteAheadLog(const QString& schema)
{
    try {
        fetchNative(QStringLiteral("PRAGMA %1.journal_mode=WAL").arg(quoteName(schema)), {});
    } catch (const DatabaseError&) {
        // A file that cannot change its mode now (held by another program past the
        // busy timeout) keeps its journal: slower, same results.
    }
    executeNative(QStringLiteral("PRAGMA %1.synchronous=FULL").arg(quoteName(schema)), {});
}

QString EmbeddedConnection::readOnlyNotice() const
{
    if (m_readOnly.isEmpty())
        return QString();
    return QStringLiteral("The database folder %1 is open read-only: it or its files cannot be written by you. You "
                          "can list, check and print, but nothing can be saved.")
        .arg(nativePath(m_folder));
}

// Every save is in the log and on disk when it returns; the database file gets it
// at a checkpoint, which SQLite makes itself only now and then. A copy of the
// files alone, taken while a program has them open or after one ended abruptly,
// misses what is still in the log: after a batch and at closing it goes into the
// files, and the log is emptied.
void EmbeddedConnection::checkpoint() noexcept
{
    if (!m_handle)
        return;
    sqlite3_busy_timeout(m_handle, kCheckpointWaitMs);
    for (const QString& schema : databaseNames()) {
        if (m_readOnly.contains(schema))
            continue;
        // A reader of another program can hold the log's end back; what it does not
        // need goes into the file all the same (SQLITE_BUSY then), the rest at the
        // next checkpoint.
        sqlite3_wal_checkpoint_v2(m_handle, schema.toUtf8().constData(), SQLITE_CHECKPOINT_TRUNCATE, nullptr,
                                  nullptr);
    }
    sqlite3_busy_timeout(m_handle, kBusyTimeoutMs);
}

void EmbeddedConnection::backupTo(const QString& folder)
{
    const QDir target(QDir(folder).absolutePath());
    if (!QDir().mkpath(target.path()))
        throw DatabaseError(QStringLiteral("The folder %1 cannot be made.").arg(nativePath(target.path())));
    for (const QString& name : databaseNames()) {
        for (const QString& suffix : {QStringLiteral(".sqlite"), QStringLiteral(".sqlite-wal")}) {
            if (QFileInfo::exists(target.filePath(name + suffix)))
                throw DatabaseError(QStringLiteral("The folder %1 already holds %2; back up into an empty folder.")
                                        .arg(nativePath(target.path()), name + suffix));
        }
    }

    QStringList written;
    const auto removeWritten = [&written] {
        for (const QString& file : written)
            QFile::remove(file);
    };
    // One read transaction over all four: every copy is its database at one moment,
    // whatever other programs save meanwhile, and nobody waits for the backup.
    if (sqlite3_exec(m_handle, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QStringLiteral("Starting the backup"));
    try {
        for (const QString& name : databaseNames()) {
            const QByteArray read = QStringLiteral("SELECT count(*) FROM %1.sqlite_master").arg(quoteName(name)).toUtf8();
            if (sqlite3_exec(m_handle, read.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
                fail(QStringLiteral("Reading %1").arg(name));
        }
        for (const QString& name : databaseNames()) {
            const QString part = target.filePath(name + QStringLiteral(".sqlite.part"));
            QFile::remove(part);
            written.append(part);
            sqlite3* raw = nullptr;
            const int opened = sqlite3_open_v2(part.toUtf8().constData(), &raw,
                                               SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            const std::unique_ptr<sqlite3, DatabaseCloser> copy(raw);
            if (opened != SQLITE_OK)
                throw DatabaseError(QStringLiteral("%1 cannot be written: %2")
                                        .arg(nativePath(part), QString::fromUtf8(sqlite3_errmsg(raw))));
            sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", m_handle, name.toUtf8().constData());
            if (!backup)
                throw DatabaseError(QStringLiteral("%1 cannot be backed up: %2")
                                        .arg(name, QString::fromUtf8(sqlite3_errmsg(copy.get()))));
            const int stepped = sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
            if (stepped != SQLITE_DONE)
                throw DatabaseError(QStringLiteral("%1 cannot be backed up into %2: %3")
                                        .arg(name, nativePath(target.path()),
                                             QString::fromUtf8(sqlite3_errmsg(copy.get()))));
        }
    } catch (...) {
        sqlite3_exec(m_handle, "ROLLBACK", nullptr, nullptr, nullptr);
        removeWritten();
        throw;
    }
    sqlite3_exec(m_handle, "ROLLBACK", nullptr, nullptr, nullptr);
    // Under their own names only once all four are complete.
    for (const QString& name : databaseNames()) {
        const QString part = target.filePath(name + QStringLiteral(".sqlite.part"));
        const QString file = target.filePath(name + QStringLiteral(".sqlite"));
        if (!QFile::rename(part, file)) {
            removeWritten();
            throw DatabaseError(QStringLiteral("%1 cannot be written.").arg(nativePath(file)));
        }
        written.replace(written.indexOf(part), file);
    }
}

} // namespace vantik
