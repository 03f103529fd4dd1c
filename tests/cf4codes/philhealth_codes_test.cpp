// The PhilHealth codes window over the demo database: what it lists, and each
// save written through the recordset with its user-log line.

#include "cf4codes/frm_philhealth_codes.h"
#include "claimwork/claim_work_fixture.h"
#include "ecf4/cf4_source.h"
#include "ecf4/code_mapping.h"
#include "host/data/connection.h"
#include "host/data/result_set.h"
#include "host/data/sql_quote.h"
#include "support/demo_db.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

QString literal(const QString& text)
{
    return "'" + sqlQuote(text) + "'";
}

class PhilHealthCodesTest : public ClaimWorkTest {
protected:
    void SetUp() override
    {
        startOn(copyOfDemoDb(copy.path()));
        installPhilHealthCodes(*window);
        claims = ecf4::claimsRegistered(*user->connection, QDate(2024, 12, 1), QDate(2026, 11, 30));
        std::vector<ListedRow> rows;
        for (const QString& idNum : claims)
            rows.push_back({idNum});
        listRows(rows);
        window->mPhilHealthCodes->trigger();
        codes = philHealthCodesWindow(*window);
        ASSERT_NE(codes, nullptr);
    }

    QString cell(QTableWidget* grid, int row, int column) const { return grid->item(row, column)->text(); }

    TempDir copy;
    QStringList claims;
    FrmPhilHealthCodes* codes = nullptr;
};

TEST_F(PhilHealthCodesTest, ListsTheUncodedItemsMostFrequentFirst)
{
    ASSERT_GT(codes->grdFindings->rowCount(), 0);
    ASSERT_GT(codes->grdDrugs->rowCount(), 1);
    // Read with a yield per claim, so that Stop and the progress are seen on a long list.
    EXPECT_EQ(messageLoop.yields, claims.size());
    EXPECT_TRUE(codes->isEnabled());
    for (QTableWidget* grid : {codes->grdFindings, codes->grdDrugs}) {
        for (int r = 1; r < grid->rowCount(); ++r)
            EXPECT_GE(cell(grid, r - 1, 3).toInt(), cell(grid, r, 3).toInt()) << r;
    }
    // A drug the demo codes is not among them.
    const ResultSet coded =
        user->connection->execute("SELECT HisGenericName, HisDosage, HisUnitCode FROM MEDICARE..tbCF4DrugCode");
    ASSERT_GT(coded.rowCount(), 0);
    const auto key = [](const QString& a, const QString& b, const QString& c) {
        return (a.trimmed() + '|' + b.trimmed() + '|' + c.trimmed()).toLower();
    };
    for (int r = 0; r < codes->grdDrugs->rowCount(); ++r) {
        const QString listed = key(cell(codes->grdDrugs, r, 0), cell(codes->grdDrugs, r, 1), cell(codes->grdDrugs, r, 2));
        for (int c = 0; c < coded.rowCount(); ++c)
            EXPECT_NE(listed, key(coded.text(c, 0), coded.text(c, 1), coded.text(c, 2)));
    }
}

TEST_F(PhilHealthCodesTest, SavingAFindingCodeWritesTheMappingAndLogsIt)
{
    const QString area = cell(codes->grdFindings, 0, 0);
    const QString subArea = cell(codes->grdFindings, 0, 1);
    const QString description = cell(codes->grdFindings, 0, 2);
    const int findings = codes->grdFindings->rowCount();
    // Only active entries are offered.
    ASSERT_GT(codes->cboLibraryEntry->count(), 0);
    for (int i = 0; i < codes->cboLibraryEntry->count(); ++i) {
        const QVariantList choice = codes->cboLibraryEntry->itemData(i).toList();
        const ecf4::LibraryEntry* entry =
            ecf4::libraryEntry(static_cast<ecf4::Library>(choice[0].toInt()), choice[1].toString());
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(entry->active) << codes->cboLibraryEntry->itemText(i).toStdString();
    }
    codes->cboLibraryEntry->setCurrentIndex(codes->cboLibraryEntry->findText("HEENT: 16 Pale conjunctivae"));
    user->log.clear();
    codes->cmdSaveFinding->click();

    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    const ResultSet saved = user->connection->execute(
        "SELECT Library, LibraryID, ChangedBy FROM MEDICARE..tbCF4FindingCode WHERE AreaCat = " + literal(area)
        + " AND AreaSubCat = " + literal(subArea) + " AND Description = " + literal(description));
    ASSERT_EQ(saved.rowCount(), 1);
    EXPECT_EQ(saved.text(0, 0), "lib_heent");
    EXPECT_EQ(saved.text(0, 1), "16");
    EXPECT_EQ(saved.text(0, 2), "CLERK");
    EXPECT_THAT(user->log, ElementsAre(QStringLiteral("PhilHealth code: %1 / %2 / %3 = lib_heent 16")
                                           .arg(area, subArea, description)));
    EXPECT_EQ(codes->grdFindings->rowCount(), findings - 1);
    // The library's own lookup now codes it.
    const ecf4::CodeTables tables = ecf4::CodeTables::read(*user->connection);
    ASSERT_NE(tables.finding(area, subArea, description), nullptr);
}

TEST_F(PhilHealthCodesTest, ADrugCodeOfTheWrongShapeIsRefusedAndAGoodOneSavedInItsParts)
{
    const QString generic = cell(codes->grdDrugs, 0, 0);
    const QString dosage = cell(codes->grdDrugs, 0, 1);
    const QString unit = cell(codes->grdDrugs, 0, 2);
    const auto savedRows = [&] {
        return user->connection->execute(
            "SELECT DrugCode, GenericCode, SaltCode, StrengthCode, FormCode, UnitCode, PackageCode, ChangedBy "
            "FROM MEDICARE..tbCF4DrugCode WHERE HisGenericName = " + literal(generic) + " AND HisDosage = "
            + literal(dosage) + " AND HisUnitCode = " + literal(unit));
    };
    user->log.clear();
    codes->txtDrugCode->setText("LOSA100000014650000000000");
    codes->cmdSaveDrug->click();
    ASSERT_EQ(messages.warned.size(), 1);
    EXPECT_THAT(messages.warned[0].toStdString(), HasSubstr("30 letters and digits"));
    EXPECT_EQ(savedRows().rowCount(), 0);
    EXPECT_TRUE(user->log.isEmpty());

    codes->txtDrugCode->setText("CEFTR0002000644SOL3200000VIALX");
    codes->cmdSaveDrug->click();
    const ResultSet saved = savedRows();
    ASSERT_EQ(saved.rowCount(), 1);
    QStringList values;
    for (int c = 0; c < 8; ++c)
        values << saved.text(0, c);
    EXPECT_THAT(values, ElementsAre("CEFTR0002000644SOL3200000VIALX", "CEFTR", "00020", "00644", "SOL32", "00000",
                                    "VIALX", "CLERK"));
    EXPECT_THAT(user->log, ElementsAre(QStringLiteral("PhilHealth drug code: %1 / %2 / %3 = "
                                                      "CEFTR0002000644SOL3200000VIALX")
                                           .arg(generic, dosage, unit)));
}

TEST_F(PhilHealthCodesTest, TheFacilityValuesAreSavedAndATooLongOneIsRefused)
{
    codes->txtAccreNo->setText("H91234567");
    codes->txtCertificationID->setText("VANTIK-2026-0001");
    codes->txtUserName->setText("claims01");
    user->log.clear();
    codes->cmdSaveFacility->click();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    ecf4::Facility facility = ecf4::readFacility(*user->connection);
    EXPECT_EQ(facility.accreditationNo, "H91234567");
    EXPECT_EQ(facility.certificationId, "VANTIK-2026-0001");
    EXPECT_EQ(facility.userName, "claims01");
    EXPECT_EQ(user->log.size(), 1);

    codes->txtAccreNo->setText("H912345678");
    codes->cmdSaveFacility->click();
    EXPECT_EQ(messages.warned.size(), 1);
    EXPECT_EQ(ecf4::readFacility(*user->connection).accreditationNo, "H91234567");
    EXPECT_EQ(user->log.size(), 1);
}

} // namespace
} // namespace vantik::test
