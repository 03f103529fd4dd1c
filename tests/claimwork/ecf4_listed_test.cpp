// The eCF4 pass and export of the main window over the demo database: the
// window's colours against the library's own verdicts, and an export into a
// folder where the clerk already keeps one of the files.

#include "claim_work_fixture.h"
#include "claimwork/ecf4_listed.h"
#include "ecf4/ecf4.h"
#include "host/data/connection.h"
#include "support/demo_db.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::HasSubstr;

class Ecf4ListedTest : public ClaimWorkTest {
protected:
    void SetUp() override
    {
        startOn(copyOfDemoDb(copy.path()));
        claims = ecf4::claimsRegistered(*user->connection, QDate(2024, 12, 1), QDate(2026, 11, 30));
        std::vector<ListedRow> rows;
        for (const QString& idNum : claims)
            rows.push_back({idNum});
        listRows(rows);
        kept = cf4FolderChooser();
    }
    void TearDown() override { cf4FolderChooser() = kept; }

    /// The last colour the pass gave each row, from 1.
    std::map<int, QString> rowColours() const
    {
        std::map<int, QString> colours;
        for (const QString& entry : journalOf({"SetRowColor "})) {
            const QStringList parts = entry.split(' ');
            colours[parts[1].toInt()] = parts[2];
        }
        return colours;
    }

    TempDir copy;
    QStringList claims;
    FolderChooser kept;
};

TEST_F(Ecf4ListedTest, ThePassColoursEachRowByTheLibrarysVerdict)
{
    ASSERT_GT(claims.size(), 100);
    window->cmdCheckECF4->click();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    EXPECT_EQ(messageLoop.yields, claims.size());

    // The verdicts of a session of the test's own, on its own connection.
    const auto connection = Connection::openEmbedded(copy.path());
    const ecf4::Ecf4Session session(*connection, clock.today());
    const std::map<int, QString> colours = rowColours();
    QStringList expectedLog;
    int ready = 0;
    for (int i = 0; i < claims.size(); ++i) {
        const ecf4::Verdict verdict = session.check(claims[i]);
        ASSERT_TRUE(colours.count(i + 1)) << claims[i].toStdString();
        EXPECT_EQ(colours.at(i + 1), verdict.ready() ? "65280" : "255") << claims[i].toStdString();
        if (verdict.ready())
            ++ready;
        else
            expectedLog.prepend(claims[i] + " " + verdict.patient + ": eCF4 not ready: " + verdict.problems.join("; "));
    }
    ASSERT_GT(ready, 0);
    ASSERT_LT(ready, claims.size());
    expectedLog.prepend(QStringLiteral("eCF4 checked: %1 of %2 claims ready").arg(ready).arg(claims.size()));
    EXPECT_EQ(window->txtLog->toPlainText(), expectedLog.join('\n') + '\n');
    EXPECT_TRUE(window->Grid1->isGridEnabled());
}

TEST_F(Ecf4ListedTest, StopEndsThePassAtTheNextRow)
{
    messageLoop.onYield = [this](int yields) {
        if (yields == 3)
            window->cmdStop->click();
    };
    window->mCheckECF4->trigger();
    EXPECT_EQ(messageLoop.yields, 3);
    EXPECT_THAT(window->txtLog->toPlainText().toStdString(),
                HasSubstr(QStringLiteral("(stopped after 3 of %1)").arg(claims.size()).toStdString()));
}

TEST_F(Ecf4ListedTest, TheExportAsksBeforeReplacingAndReportsWhatItDid)
{
    const auto connection = Connection::openEmbedded(copy.path());
    const ecf4::Ecf4Session session(*connection, clock.today());
    QStringList ready, refused;
    for (const QString& idNum : claims)
        (session.check(idNum).ready() ? ready : refused) << idNum;
    const QStringList listed = {ready[0], refused[0], ready[1]};
    listRows({{listed[0]}, {listed[1]}, {listed[2]}});

    TempDir out;
    const QString taken = out.file(ecf4::cf4FileName(ready[1]));
    {
        QFile file(taken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the clerk's own file");
    }
    QString offered;
    cf4FolderChooser() = [&](QWidget*, const QString& start) {
        offered = start;
        return out.path();
    };
    messages.setNextAnswer(false);
    window->cmdExportECF4->click();

    ASSERT_EQ(messages.asked.size(), 1);
    EXPECT_THAT(messages.asked[0].toStdString(), HasSubstr(QDir::toNativeSeparators(taken).toStdString()));
    QFile kept(taken);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "the clerk's own file");
    QFile written(out.file(ecf4::cf4FileName(ready[0])));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), session.check(ready[0]).document);
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).filter(".part").isEmpty());

    const QStringList summaries = QDir(out.path()).entryList({"ecf4-summary-*.csv"}, QDir::Files);
    ASSERT_EQ(summaries.size(), 1);
    QFile summary(out.file(summaries[0]));
    ASSERT_TRUE(summary.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(summary.readAll()).split("\r\n", Qt::SkipEmptyParts).size(), 4);

    ASSERT_EQ(messages.shown.size(), 1);
    const std::string report = messages.shown[0].toStdString();
    EXPECT_THAT(report, HasSubstr("1 eCF4 file(s) exported to " + QDir::toNativeSeparators(out.path()).toStdString()));
    EXPECT_THAT(report, HasSubstr("1 claim(s) refused"));
    EXPECT_THAT(report, HasSubstr("Not written: " + ready[1].toStdString() + ": "));
    EXPECT_THAT(report, HasSubstr(summaries[0].toStdString()));

    // Yes replaces both files there now, asked once; a cancelled choice does nothing at all.
    messages.shown.clear();
    window->mExportECF4->trigger();
    EXPECT_EQ(messages.asked.size(), 2);
    EXPECT_EQ(offered, out.path());
    EXPECT_THAT(messages.shown.value(0).toStdString(), HasSubstr("2 eCF4 file(s) exported"));
    messages.shown.clear();
    cf4FolderChooser() = [](QWidget*, const QString&) { return QString(); };
    window->cmdExportECF4->click();
    EXPECT_TRUE(messages.shown.isEmpty());
}

} // namespace
} // namespace vantik::test
