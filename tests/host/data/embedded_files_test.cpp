#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "host/data/embedded_connection.h"
#include "host/data/recordset.h"
#include "host/data/small_database.h"
#include "support/file_permissions.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

#include <gmock/gmock.h>

using namespace vantik;
using ::testing::HasSubstr;

namespace {

const QString kPatient = QStringLiteral("SELECT IDNum, LastName FROM Patient_Data..tbPatient WHERE IDNum = '2400001'");

// The four database files alone, as a copy that leaves out the -wal files makes them.
void copyFilesAlone(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : EmbeddedConnection::databaseNames())
        ASSERT_TRUE(QFile::copy(QDir(from).filePath(name + ".sqlite"), QDir(to).filePath(name + ".sqlite")));
}

void rename(Connection& connection, const QString& lastName)
{
    Recordset patient;
    patient.open(kPatient, connection, CursorType::Dynamic, LockType::Optimistic);
    patient.setField("LastName", lastName);
    patient.update();
}

QString lastNameIn(const QString& folder)
{
    return Connection::openEmbedded(folder)->execute(kPatient).text(0, 1);
}

QString saveError(Connection& connection)
{
    try {
        rename(connection, "Never");
    } catch (const DatabaseError& error) {
        return error.message();
    }
    return QStringLiteral("(saved)");
}

// A small database in the write-ahead log's mode, closed: no -wal file beside it.
void writeClosedDatabase(const QString& folder)
{
    test::writeSmallDatabase(folder);
    Connection::openEmbedded(folder).reset();
}

void setModes(const QString& folder, QFile::Permissions folderMode, QFile::Permissions fileMode)
{
    for (const QString& file : QDir(folder).entryList(QDir::Files))
        QFile::setPermissions(QDir(folder).filePath(file), fileMode);
    QFile::setPermissions(folder, folderMode);
}

const QFile::Permissions kWritableFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
const QFile::Permissions kReadOnlyFolder = QFile::ReadOwner | QFile::ExeOwner;
const QFile::Permissions kWritableFile = QFile::ReadOwner | QFile::WriteOwner;
const QFile::Permissions kReadOnlyFile = QFile::ReadOwner;

} // namespace

// A program that closes cleanly leaves its saves in the files themselves, even
// while another program keeps the log open: a copy of the files alone made now
// (or after that other program is killed) holds them.
TEST(EmbeddedFiles, AClosedConnectionLeavesItsSavesInTheFilesThemselves)
{
    test::TempDir dir;
    test::writeSmallDatabase(dir.file("db"));
    const auto other = Connection::openEmbedded(dir.file("db"));
    rename(*Connection::openEmbedded(dir.file("db")), "Closed");
    copyFilesAlone(dir.file("db"), dir.file("copy"));
    EXPECT_EQ(lastNameIn(dir.file("copy")), "Closed");

    // Saved and written back while still open: what a batch does at its end.
    rename(*other, "Checkpointed");
    other->checkpoint();
    copyFilesAlone(dir.file("db"), dir.file("copy2"));
    EXPECT_EQ(lastNameIn(dir.file("copy2")), "Checkpointed");
    EXPECT_EQ(QFile(dir.file("db/Patient_Data.sqlite-wal")).size(), 0); // the log emptied
}

// A folder the clerk may only read opens read-only, with or without another
// program's log beside the files; every write then says so plainly.
TEST(EmbeddedFiles, AFolderThatCannotBeWrittenOpensReadOnly)
{
    struct Case {
        const char* name;
        bool folderReadOnly;
        bool logLeft; // a program ended abruptly: its saves are still in the -wal files
    };
    for (const Case& c : {Case{"read-only folder", true, false}, Case{"read-only folder, log left", true, true},
                          Case{"read-only files", false, false}}) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const QString folder = dir.file("db");
        writeClosedDatabase(folder);
        std::unique_ptr<Connection> crashed;
        if (c.logLeft) {
            crashed = Connection::openEmbedded(folder);
            rename(*crashed, "InTheLog");
            copyFilesAlone(folder, dir.file("copy"));
            for (const QString& name : EmbeddedConnection::databaseNames()) {
                for (const QString& suffix : {QStringLiteral(".sqlite-wal"), QStringLiteral(".sqlite-shm")})
                    QFile::copy(QDir(folder).filePath(name + suffix), dir.file("copy/" + name + suffix));
            }
        }
        const QString opened = c.logLeft ? dir.file("copy") : folder;
        const QStringList before = QDir(opened).entryList(QDir::Files);
        setModes(opened, c.folderReadOnly ? kReadOnlyFolder : kWritableFolder, kReadOnlyFile);
        const auto restore = qScopeGuard([&] { setModes(opened, kWritableFolder, kWritableFile); });
        test::FilePermissionsHeld held;

        std::unique_ptr<Connection> connection;
        ASSERT_NO_THROW(connection = Connection::openEmbedded(opened));
        EXPECT_THAT(connection->readOnlyNotice().toStdString(), HasSubstr("is open read-only"));
        EXPECT_EQ(connection->execute(kPatient).text(0, 1), c.logLeft ? "InTheLog" : "Dela Cruz");
        EXPECT_THAT(saveError(*connection).toStdString(),
                    HasSubstr("The database is read-only: the folder " + opened.toStdString()));
        connection->checkpoint(); // nothing to write back, and no failure
        connection.reset();
        if (c.folderReadOnly) {
            EXPECT_EQ(QDir(opened).entryList(QDir::Files), before);
        }
    }
}

TEST(EmbeddedFiles, AWritableFolderGivesNoReadOnlyNotice)
{
    test::TempDir dir;
    test::writeSmallDatabase(dir.path());
    EXPECT_TRUE(Connection::openEmbedded(dir.path())->readOnlyNotice().isEmpty());
}
