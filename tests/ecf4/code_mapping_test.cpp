// What the codes window lists and refuses, without the window.

#include "ecf4/cf4_source.h"
#include "ecf4/code_mapping.h"
#include "host/data/connection.h"
#include "host/data/result_set.h"
#include "support/demo_db.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace vantik;
using namespace vantik::ecf4;
using namespace vantik::test;

namespace {

qsizetype indexOf(const QList<UncodedFinding>& findings, const QString& description)
{
    for (qsizetype i = 0; i < findings.size(); ++i) {
        if (findings[i].description == description)
            return i;
    }
    return -1;
}

TEST(CodeMapping, SpellingsTheLookupTakesAsOneAreCountedAsOneAndTheFrequentComeFirst)
{
    TempDir folder;
    const auto connection = Connection::openEmbedded(copyOfDemoDb(folder.path()));
    const QStringList claims = claimsRegistered(*connection, QDate(2026, 11, 1), QDate(2026, 11, 30));
    ASSERT_GE(claims.size(), 2);
    const auto record = [&](const QString& idNum, const QString& description) {
        connection->executeNative("INSERT INTO Patient_Data.tbPatientConditions (IDNum, AreaCat, AreaSubCat, "
                                  "Description) VALUES (?, 'SignsSymptoms', '', ?)",
                                  {idNum, description});
    };
    record(claims[0], "Yawning");
    record(claims[0], "Hiccups");
    record(claims[1], "HICCUPS  ");
    record(claims[1], "hiccups");

    const UncodedItems items = uncodedInClaims(*connection, {claims[0], claims[1]});
    const qsizetype hiccups = indexOf(items.findings, "Hiccups");
    ASSERT_GE(hiccups, 0);
    EXPECT_EQ(items.findings[hiccups].records, 3);
    EXPECT_EQ(indexOf(items.findings, "hiccups"), -1);
    EXPECT_EQ(indexOf(items.findings, "HICCUPS"), -1);
    EXPECT_LT(hiccups, indexOf(items.findings, "Yawning"));
    for (qsizetype i = 1; i < items.findings.size(); ++i)
        EXPECT_GE(items.findings[i - 1].records, items.findings[i].records) << i;
    for (qsizetype i = 1; i < items.drugs.size(); ++i)
        EXPECT_GE(items.drugs[i - 1].records, items.drugs[i].records) << i;
}

TEST(CodeMapping, OnlyAnActiveLibraryEntryIsSaved)
{
    TempDir folder;
    const auto connection = Connection::openEmbedded(copyOfDemoDb(folder.path()));
    const UncodedFinding finding{"PhysicalExam", "HEENT", "Runny nose", 1, Library::Heent};
    // "7" was retired from the HEENT library; "77" was never in it.
    for (const char* id : {"7", "77"}) {
        EXPECT_THROW(saveFindingCode(*connection, finding, Library::Heent, id, "clerk"), CodeEntryError) << id;
        EXPECT_EQ(CodeTables::read(*connection).finding("PhysicalExam", "HEENT", "Runny nose"), nullptr) << id;
    }
    saveFindingCode(*connection, finding, Library::Heent, "99", "clerk");
    const CodeTables tables = CodeTables::read(*connection);
    const FindingCode* saved = tables.finding("physicalexam", "heent", "RUNNY NOSE ");
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->library, "lib_heent");
    EXPECT_EQ(saved->id, "99");
}

} // namespace
