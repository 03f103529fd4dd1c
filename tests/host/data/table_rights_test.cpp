#include "host/data/table_rights.h"
#include "host/data/small_database.h"
#include "recorded_sql_server.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace vantik;
using test::rows;

namespace {

class TableRightsTest : public test::RecordedSqlServerTest {};

std::size_t rightCount()
{
    std::size_t count = 0;
    for (const TableRight& entry : requiredTableRights())
        count += static_cast<std::size_t>(QString::fromLatin1(entry.rights).split(QLatin1Char(',')).size());
    return count;
}

} // namespace

TEST_F(TableRightsTest, AreAskedInOneStatementAndEveryMissingOneIsNamedOnce)
{
    server->answers.push_back(rows({"DatabaseName", "TableName", "RightName", "Granted"},
                                   {{"Patient_Data", "tbPatient", "SELECT", 1},
                                    {"Patient_Data", "tbPatient", "UPDATE", 0},
                                    {"Station", "tbNurseVitalSigns", "INSERT", 0},
                                    {"Build_File", "tbcoUsers", "UPDATE", QVariant()}}));
    const std::vector<MissingRight> missing = missingTableRights(*connection);
    ASSERT_EQ(server->sent.size(), 1u);
    const QString& asked = server->sent[0].statement;
    EXPECT_TRUE(asked.contains("HAS_PERMS_BY_NAME(")) << asked.toStdString();
    EXPECT_TRUE(asked.contains("(N'Station', N'tbNurseVitalSigns', N'INSERT')")) << asked.toStdString();
    EXPECT_EQ(static_cast<std::size_t>(asked.count("(N'")), rightCount());
    // NULL: a table the log-in cannot even see.
    EXPECT_EQ(missingRightsMessage(missing),
              "The SQL log-in lacks rights the program needs, so what needs them will fail until the database "
              "administrator grants them: UPDATE on Patient_Data..tbPatient (brief history); INSERT on "
              "Station..tbNurseVitalSigns (vital signs); UPDATE on Build_File..tbcoUsers (stronger password hash at "
              "log-in).");

    // The embedded files grant no rights table by table: nothing to ask.
    test::TempDir folder;
    test::writeSmallDatabase(folder.path());
    const auto embedded = Connection::openEmbedded(folder.path());
    EXPECT_TRUE(missingTableRights(*embedded).empty());
    EXPECT_TRUE(missingRightsMessage({}).isEmpty());
}

TEST(TableRights, TheSqlServerGuideListsEveryTableWithTheRightsTheLogInIsAskedFor)
{
    QFile guide(QStringLiteral(VANTIK_SOURCE_DIR "/docs/sql-server.md"));
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    // | Patient_Data | `tbPatient` | SELECT, UPDATE | read by | written by |
    static const QRegularExpression row(QStringLiteral("^\\| (\\w+) \\| `(\\w+)` \\| ([A-Z, ]+) \\|"),
                                        QRegularExpression::MultilineOption);
    std::set<std::tuple<QString, QString, QString>> documented;
    for (auto match = row.globalMatch(QString::fromUtf8(guide.readAll())); match.hasNext();) {
        const auto m = match.next();
        documented.insert({m.captured(1), m.captured(2), m.captured(3).trimmed()});
    }
    std::set<std::tuple<QString, QString, QString>> asked;
    for (const TableRight& entry : requiredTableRights())
        asked.insert({QString::fromLatin1(entry.database), QString::fromLatin1(entry.table),
                      QString::fromLatin1(entry.rights)});
    EXPECT_EQ(documented, asked);
}
