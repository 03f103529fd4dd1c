// The pages that complete what the eCF4 needs: each writes the HIS's records in
// the HIS's words (or the program's own row), logs, and the eCF4 line follows at
// once; bad input and another clerk's change write nothing.

#include "ecf4/ecf4.h"
#include "entry_window_fixture.h"
#include "host/claimforms/conflict_bar.h"
#include "host/claimforms/finding_checks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class Cf4PagesTest : public EntryWindowTest {
protected:
    FindingChecks& heent(ClaimFormWindow& window) { return *window.fraExam[std::size_t(ecf4::Library::Heent)]; }
    QString ecf4Line(ClaimFormWindow& window) { return window.lblEcf4->text(); }

    /// A discharged in-patient claim of the demo that the eCF4 check takes as it is.
    QString readyDemoClaim()
    {
        const ecf4::Ecf4Session session(user.sqlconnection(), kNow.date());
        const ResultSet ids = user.sqlconnection().execute(
            "SELECT TOP 300 IDNum FROM Patient_Data..tbPatient WHERE MedicareType NOT IN ('', 'nn') "
            "AND DCRDATE IS NOT NULL ORDER BY IDNum");
        for (int r = 0; r < ids.rowCount(); ++r) {
            if (session.check(ids.text(r, 0)).ready())
                return ids.text(r, 0);
        }
        return QString();
    }
};

TEST_F(Cf4PagesTest, AClaimLackingSymptomsAnExamSystemAndTheSurveyIsCompletedAndExported)
{
    const QString id = readyDemoClaim();
    ASSERT_FALSE(id.isEmpty());
    exec("DELETE FROM Patient_Data.tbPatientConditions WHERE IDNum = ? AND (AreaCat = 'SignsSymptoms' OR "
         "AreaSubCat = 'HEENT')",
         {id});
    exec("UPDATE MEDICARE.tbCF4Entry SET GenSurveyID = NULL WHERE IDNum = ?", {id});
    ClaimFormWindow& window = open(id);
    EXPECT_THAT(ecf4Line(window).toStdString(), HasSubstr("Signs and symptoms: none recorded"));
    EXPECT_THAT(ecf4Line(window).toStdString(), HasSubstr("Physical exam, HEENT: no finding recorded"));
    EXPECT_THAT(ecf4Line(window).toStdString(), HasSubstr("General survey: missing"));
    EXPECT_FALSE(window.cmdExportEcf4->isEnabled());

    window.chkSymptoms->box("37")->setChecked(true); // FEVER: "Fever" in the HIS's words
    window.cmdSaveSymptoms->click();
    EXPECT_EQ(window.lblMessage->text(), "Saved the signs and symptoms.");
    EXPECT_EQ(one(QString("SELECT Description + '|' + AreaSubCat + '|' + Code + '|' + Result + '|' + EncodedBy FROM "
                          "Patient_Data..tbPatientConditions WHERE IDNum = '%1' AND AreaCat = 'SignsSymptoms'")
                      .arg(id)),
              "Fever|SIGNS|X|1|CLERK");
    EXPECT_THAT(ecf4Line(window).toStdString(), Not(HasSubstr("Signs and symptoms")));

    heent(window).box("16")->setChecked(true);
    window.cmdSaveExam->click();
    EXPECT_EQ(one(QString("SELECT Description FROM Patient_Data..tbPatientConditions WHERE IDNum = '%1' AND "
                          "AreaSubCat = 'HEENT'")
                      .arg(id)),
              "Pale conjunctivae");
    EXPECT_THAT(ecf4Line(window).toStdString(), Not(HasSubstr("HEENT")));

    window.optAwake->setChecked(true);
    window.cmdSaveSurvey->click();
    EXPECT_EQ(one(QString("SELECT GenSurveyID + '|' + ChangedBy FROM MEDICARE..tbCF4Entry WHERE IDNum = '%1'").arg(id)),
              "1|CLERK");
    EXPECT_EQ(ecf4Line(window), "eCF4: ready");
    ASSERT_TRUE(window.cmdExportEcf4->isEnabled());

    TempDir out;
    chosenFolder = out.path();
    window.cmdExportEcf4->click();
    const QString file = QDir(out.path()).filePath(id + ".xml");
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(window.lblMessage->text(), "Exported the eCF4 to " + QDir::toNativeSeparators(file) + ".");
    // Again: the file there is replaced only when the clerk says so.
    messages.setNextAnswer(false);
    window.cmdExportEcf4->click();
    ASSERT_EQ(messages.asked.size(), 1);
    EXPECT_THAT(messages.asked[0].toStdString(), HasSubstr("exists already"));
    ASSERT_EQ(user.log.size(), 4);
    EXPECT_EQ(user.log[0], id + " CF4 signs and symptoms: FEVER");
    EXPECT_EQ(user.log[1], id + " CF4 physical exam: HEENT: Pale conjunctivae");
    EXPECT_THAT(user.log[2].toStdString(), HasSubstr(" CF4 general survey and history: GenSurveyID 1, "));
    EXPECT_EQ(user.log[3], id + " CF4 eCF4 exported: " + QDir::toNativeSeparators(file));
}

TEST_F(Cf4PagesTest, EveryDemoClaimOpensWithNothingTypedAndItsRecordsShownAsTheyAre)
{
    const ResultSet ids = user.sqlconnection().execute(
        "SELECT TOP 40 IDNum FROM Patient_Data..tbPatient WHERE MedicareType NOT IN ('', 'nn') ORDER BY IDNum");
    const ResultSet visits = user.sqlconnection().execute(
        "SELECT TOP 15 IDNum FROM Patient_Data..tbOutPatient WHERE MedicareType NOT IN ('', 'nn') ORDER BY IDNum");
    // Claims whose records put "Essentially normal" beside another finding of its system.
    const ResultSet flawed = user.sqlconnection().execute(
        "SELECT TOP 20 A.IDNum FROM Patient_Data..tbPatientConditions A JOIN "
        "Patient_Data..tbPatientConditions B ON B.IDNum = A.IDNum AND B.AreaSubCat = A.AreaSubCat AND "
        "B.Description <> A.Description WHERE A.AreaCat = 'PhysicalExam' AND B.AreaCat = 'PhysicalExam' AND "
        "A.Description = 'Essentially normal' GROUP BY A.IDNum ORDER BY A.IDNum");
    int normalWithFinding = 0;
    for (const ResultSet* list : {&ids, &visits, &flawed}) {
        for (int r = 0; r < list->rowCount(); ++r) {
            ClaimFormWindow& window = open(list->text(r, 0));
            EXPECT_EQ(window.unsavedSections(), QStringList()) << list->text(r, 0).toStdString();
            // A record of "Essentially normal" beside another finding stays checked with it.
            for (const FindingChecks* row : window.fraExam)
                normalWithFinding += row->chosen().size() > 1 && row->problem().contains("Essentially normal");
        }
    }
    EXPECT_GT(normalWithFinding, 0);
}

TEST_F(Cf4PagesTest, EssentiallyNormalStandsAloneAndOthersNeedsWhatWasFound)
{
    admitBare("T1");
    ClaimFormWindow& window = open("T1");
    FindingChecks& row = heent(window);
    row.box("16")->setChecked(true);
    row.box("11")->setChecked(true); // Essentially normal
    EXPECT_FALSE(row.box("16")->isChecked());
    EXPECT_FALSE(row.box("16")->isEnabled());
    EXPECT_FALSE(row.box("99")->isEnabled());
    row.box("11")->setChecked(false);
    EXPECT_TRUE(row.box("16")->isEnabled());

    row.box("99")->setChecked(true);
    const char* const emptyRemarks[] = {"", "  ", "none", "NA", "n/a", "Not applicable."};
    for (const char* remark : emptyRemarks) {
        SCOPED_TRACE(remark);
        row.txtRemark->setText(remark);
        window.cmdSaveExam->click();
        EXPECT_EQ(window.lblMessage->text(), "HEENT: with \"Others\", type what was found (not none, NA, N/A or not "
                                             "applicable). Nothing was saved.");
    }
    EXPECT_EQ(count("SELECT count(1) FROM Patient_Data..tbPatientConditions WHERE IDNum = 'T1'"), 0);
    row.txtRemark->setText("Healed scar over the left brow");
    window.fraExam[0]->box("1")->setChecked(true); // Skin: essentially normal, in the same save
    window.cmdSaveExam->click();
    EXPECT_EQ(window.lblMessage->text(), "Saved the physical exam.");
    EXPECT_EQ(one("SELECT Description + '|' + Remarks FROM Patient_Data..tbPatientConditions WHERE IDNum = 'T1' AND "
                  "AreaSubCat = 'HEENT'"),
              "OTHERS|Healed scar over the left brow");
    EXPECT_EQ(one("SELECT Description FROM Patient_Data..tbPatientConditions WHERE IDNum = 'T1' AND "
                  "AreaSubCat = 'SKIN/EXTREMITIES'"),
              "Essentially normal");

    // Unchecking a finding removes its record; the record that stays is updated, not added again.
    row.txtRemark->setText("Healed scar");
    window.fraExam[0]->box("1")->setChecked(false);
    window.fraExam[0]->box("7")->setChecked(true);
    window.cmdSaveExam->click();
    EXPECT_EQ(one("SELECT convert(varchar, count(1)) + '|' + max(Remarks) FROM Patient_Data..tbPatientConditions "
                  "WHERE IDNum = 'T1' AND AreaSubCat = 'HEENT'"),
              "1|Healed scar");
    EXPECT_EQ(one("SELECT convert(varchar, count(1)) + '|' + max(Description) FROM Patient_Data..tbPatientConditions "
                  "WHERE IDNum = 'T1' AND AreaSubCat = 'SKIN/EXTREMITIES'"),
              "1|Pale nailbeds");
    EXPECT_EQ(user.log.size(), 2);
}

TEST_F(Cf4PagesTest, SeveralRecordsOfOneFindingAreSavedAsTheOneThePageShows)
{
    admitBare("T1");
    for (const char* words : {"OTHERS', 'Mole", "OTHERS', 'Scar", "Pale conjunctivae', '", "Pale conjunctivae', '"})
        exec(QString("INSERT INTO Patient_Data.tbPatientConditions (IDNum, AreaCat, AreaSubCat, Description, Remarks) "
                     "VALUES ('T1', 'PhysicalExam', 'HEENT', '%1')")
                 .arg(words));
    ClaimFormWindow& window = open("T1");
    EXPECT_EQ(heent(window).txtRemark->text(), "Mole; Scar");
    heent(window).txtRemark->setText("Healed scar");
    heent(window).box("16")->setChecked(false);
    window.cmdSaveExam->click();
    EXPECT_EQ(window.lblMessage->text(), "Saved the physical exam.");
    EXPECT_EQ(one("SELECT convert(varchar, count(1)) + '|' + max(Description) + '|' + max(Remarks) FROM "
                  "Patient_Data..tbPatientConditions WHERE IDNum = 'T1'"),
              "1|OTHERS|Healed scar");
}

TEST_F(Cf4PagesTest, ASymptomWithoutHisWordsIsWrittenInPhilHealthsAndCodedAtOnce)
{
    admitBare("T1");
    ClaimFormWindow& window = open("T1");
    window.chkSymptoms->box("33")->setChecked(true); // SEIZURES: the demo's HIS has no words for it
    window.chkSymptoms->box("38")->setChecked(true); // PAIN needs its site
    window.cmdSaveSymptoms->click();
    EXPECT_EQ(window.lblMessage->text(), "Pain site: with Pain checked, type where the pain is. Nothing was saved.");
    EXPECT_EQ(window.focusWidget(), window.txtPainSite);
    window.txtPainSite->setText("Lower back");
    window.cmdSaveSymptoms->click();
    EXPECT_EQ(one("SELECT min(Description) + ',' + max(Description) FROM Patient_Data..tbPatientConditions "
                  "WHERE IDNum = 'T1'"),
              "Pain,SEIZURES");
    EXPECT_EQ(one("SELECT AreaSubCat + '|' + Library + '|' + LibraryID + '|' + ChangedBy FROM "
                  "MEDICARE..tbCF4FindingCode WHERE Description = 'SEIZURES'"),
              "SIGNS|lib_chief_complaint|33|CLERK");
    EXPECT_EQ(one("SELECT PainSite FROM MEDICARE..tbCF4Entry WHERE IDNum = 'T1'"), "Lower back");
    EXPECT_TRUE(window.unsavedSections().isEmpty()); // read back as saved: nothing typed
    EXPECT_THAT(ecf4Line(window).toStdString(), Not(HasSubstr("Signs and symptoms")));
    EXPECT_THAT(ecf4Line(window).toStdString(), Not(HasSubstr("Pain site")));
    EXPECT_EQ(user.log, QStringList{"T1 CF4 signs and symptoms: SEIZURES; PAIN; pain site Lower back"});
}

TEST_F(Cf4PagesTest, TheObGynItemsAreOfferedToWomenAndBoundedAtZeroAndNinetyNine)
{
    exec("INSERT INTO Patient_Data.tbMaster (HospNum, LastName, FirstName, Sex) VALUES ('T0002', 'REYES', 'JOSE', "
         "'M')");
    admitBare("T1"); // Ana Cruz, admitted 11/02/2026
    exec("INSERT INTO Patient_Data.tbPatient (IDNum, HospNum, ADMDATE) VALUES ('T2', 'T0002', "
         "'2026-11-02 08:00:00.000')");
    EXPECT_TRUE(open("T2").fraObGyn->isHidden());
    ClaimFormWindow& window = open("T1");
    EXPECT_FALSE(window.fraObGyn->isHidden());

    window.optAwake->setChecked(true);
    window.cboMensApplicable->setCurrentIndex(1); // Yes
    window.dtpLastPeriod->setDate(QDate(2026, 10, 20));
    const auto counts = [&](const QString& each) {
        for (QLineEdit* box : window.txtPregnancyCounts)
            box->setText(each);
    };
    const std::vector<std::pair<const char*, const char*>> cases{
        {"-1", "Pregnancies: type a whole number from 0 to 99. Nothing was saved."},
        {"100", "Pregnancies: type a whole number from 0 to 99. Nothing was saved."},
        {"1.5", "Pregnancies: type a whole number from 0 to 99. Nothing was saved."},
        {"", "Pregnancies: type a whole number from 0 to 99. Nothing was saved."},
    };
    for (const auto& [typed, message] : cases) {
        SCOPED_TRACE(typed);
        counts(typed);
        window.cmdSaveSurvey->click();
        EXPECT_EQ(window.lblMessage->text(), message);
    }
    counts("0");
    window.txtPregnancyCounts[5]->setText("99"); // living children
    window.dtpLastPeriod->setDate(QDate(2026, 11, 3)); // the day after the admission
    window.cmdSaveSurvey->click();
    EXPECT_EQ(window.lblMessage->text(), "Last menstrual period: the date cannot be after the admission "
                                         "(11/02/2026). Nothing was saved.");
    EXPECT_EQ(count("SELECT count(1) FROM MEDICARE..tbCF4Entry WHERE IDNum = 'T1'"), 0);
    window.dtpLastPeriod->setDate(QDate(2026, 11, 2));
    window.txtPregnancyCounts[1]->setText("07");
    window.cmdSaveSurvey->click();
    EXPECT_EQ(window.lblMessage->text(), "Saved the general survey and history.");
    EXPECT_EQ(one("SELECT MensApplicable + '|' + convert(varchar, LastMensPeriod, 0) + '|' + "
                  "convert(varchar, DeliveryCount) + '|' + convert(varchar, LivingChildrenCount) FROM "
                  "MEDICARE..tbCF4Entry WHERE IDNum = 'T1'"),
              "Y|Nov  2 2026 12:00AM|7|99");
    EXPECT_THAT(ecf4Line(window).toStdString(), Not(HasSubstr("Menstrual")));
    EXPECT_THAT(ecf4Line(window).toStdString(), Not(HasSubstr("Last menstrual period")));
    EXPECT_TRUE(window.unsavedSections().isEmpty());
}

TEST_F(Cf4PagesTest, AnOutPatientVisitKeepsItsChiefComplaintOnTheVisitsHistory)
{
    admitBare("BT2", true);
    ClaimFormWindow& window = open("BT2");
    window.txtChiefComplaint->setText(" N/A ");
    window.cmdSaveSurvey->click();
    EXPECT_THAT(window.lblMessage->text().toStdString(), HasSubstr("Chief complaint: \"N/A\" does not count"));
    window.txtChiefComplaint->setText("Cough for a week");
    window.txtPastHistory->setPlainText("Bronchial asthma since childhood");
    window.cmdSaveSurvey->click();
    EXPECT_EQ(one("SELECT ChiefComplaint FROM Patient_Data..tbOutPatientHistory WHERE IDNum = 'BT2'"),
              "Cough for a week");
    EXPECT_EQ(one("SELECT count(1) FROM Patient_Data..tbPatientHistory WHERE IDNum = 'BT2'"), "0");
    EXPECT_EQ(one("SELECT PastMedicalHistory FROM MEDICARE..tbCF4Entry WHERE IDNum = 'BT2'"),
              "Bronchial asthma since childhood");
    EXPECT_THAT(ecf4Line(window).toStdString(), Not(HasSubstr("Chief complaint")));
    EXPECT_THAT(ecf4Line(window).toStdString(), Not(HasSubstr("Past medical history")));
}

TEST_F(Cf4PagesTest, AnotherClerksChangeToTheSameExamEntryIsNeverOverwritten)
{
    admitBare("T1");
    exec("INSERT INTO Patient_Data.tbPatientConditions (IDNum, AreaCat, AreaSubCat, Description, Code, Result) "
         "VALUES ('T1', 'PhysicalExam', 'HEENT', 'Pale conjunctivae', 'X', '1')");
    ClaimFormWindow& window = open("T1");
    ASSERT_TRUE(heent(window).box("16")->isChecked());
    heent(window).box("16")->setChecked(false);
    heent(window).box("15")->setChecked(true);

    const auto other = Connection::openEmbedded(folder.path());
    other->executeNative("UPDATE Patient_Data.tbPatientConditions SET Description = 'Cervical lymphadenopathy', "
                         "EncodedBy = 'OTHER' WHERE IDNum = 'T1'",
                         {});
    window.cmdSaveExam->click();
    EXPECT_THAT(window.lblMessage->text().toStdString(), HasSubstr("changed by another user"));
    EXPECT_EQ(one("SELECT convert(varchar, count(1)) + '|' + max(Description) + '/' + max(EncodedBy) FROM "
                  "Patient_Data..tbPatientConditions WHERE IDNum = 'T1'"),
              "1|Cervical lymphadenopathy/OTHER");
    EXPECT_TRUE(user.log.isEmpty());
    EXPECT_FALSE(window.fraExamConflict->isHidden());
    EXPECT_THAT(window.fraExamConflict->lblTheirs->text().toStdString(), HasSubstr("HEENT: Cervical lymphadenopathy"));

    window.fraExamConflict->cmdKeepTheirs->click();
    EXPECT_TRUE(heent(window).box("13")->isChecked());
    EXPECT_FALSE(heent(window).box("15")->isChecked());
    EXPECT_TRUE(window.fraExamConflict->isHidden());
    EXPECT_TRUE(window.unsavedSections().isEmpty());
}

TEST_F(Cf4PagesTest, EnterSavesTheFindingsAndEscAsksBeforeDroppingThem)
{
    admitBare("T1");
    ClaimFormWindow& window = open("T1");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.tabSections->setCurrentWidget(window.cmdSaveExam->parentWidget());
    QCheckBox* normal = window.fraExam[std::size_t(ecf4::Library::Heart)]->box("5");
    normal->setFocus();
    QTest::keyClick(normal, Qt::Key_Space);
    QTest::keyClick(normal, Qt::Key_Return);
    EXPECT_EQ(window.lblMessage->text(), "Saved the physical exam.");
    EXPECT_EQ(one("SELECT Description FROM Patient_Data..tbPatientConditions WHERE IDNum = 'T1' AND AreaSubCat = 'CVS'"),
              "Essentially normal");

    heent(window).box("16")->setChecked(true);
    messages.setNextAnswer(false);
    QTest::keyClick(&window, Qt::Key_Escape);
    ASSERT_EQ(messages.asked.size(), 1);
    EXPECT_THAT(messages.asked[0].toStdString(), HasSubstr("changes that are not saved (physical exam)"));
    EXPECT_TRUE(window.isVisible());
}

} // namespace
} // namespace vantik::test
