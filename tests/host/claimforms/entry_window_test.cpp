// The CF4 entry window as the place where a clerk completes a claim form: each
// section is saved where the completeness checks read it, through the recordset,
// logged, and shown at once; bad input and other clerks' changes save nothing.

#include "entry_window_fixture.h"
#include "host/data/database_error.h"
#include "host/ui/flex_grid_widget.h"
#include "support/watched_connection.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST_F(EntryWindowTest, EachSectionIsSavedWhereTheChecksReadItAndTheFindingsFollow)
{
    admitBare("T1");
    ClaimFormWindow& window = open("T1");
    EXPECT_EQ(window.lblMissing->text(),
              "Missing: brief history; vital signs; height/weight; GU(IE); course in the ward");
    EXPECT_FALSE(window.cmdMarkVerified->isEnabled());

    window.txtBriefHistory->setPlainText("Fever for three days");
    window.cmdSaveHistory->click();
    EXPECT_EQ(window.lblMessage->text(), "Saved the brief history.");
    EXPECT_EQ(one("SELECT BriefHistory FROM Patient_Data..tbPatient WHERE IDNum = 'T1'"), "Fever for three days");
    EXPECT_EQ(window.lblMissing->text(), "Missing: vital signs; height/weight; GU(IE); course in the ward");

    window.dtpVitalsTakenOn->setDateTime(QDateTime(QDate(2026, 11, 2), QTime(9, 15)));
    window.txtBloodPressure->setText("120/80");
    window.txtTemperature->setText("37.2");
    window.txtPulseRate->setText("80");
    window.txtRespiratoryRate->setText("18");
    window.cmdSaveVitals->click();
    EXPECT_EQ(one("SELECT BP + '|' + Temperature + '|' + PulseRate + '|' + RespRate + '|' + "
                  "convert(varchar, VitalDate, 0) + '|' + TakenBy FROM Station..tbNurseVitalSigns WHERE IDNum = 'T1'"),
              "120/80|37.2|80|18|Nov  2 2026  9:15AM|CLERK");
    EXPECT_TRUE(window.txtBloodPressure->text().isEmpty()); // ready for the next record

    window.txtHeight->setText("160");
    window.txtWeight->setText("55.5");
    window.cmdSaveHeightWeight->click();
    EXPECT_EQ(one("SELECT Height + '|' + Weight FROM Patient_Data..tbPatientHistory WHERE IDNum = 'T1'"), "160|55.5");

    window.cboGuFinding->setEditText("Not Assessed");
    window.cmdSaveGu->click();
    EXPECT_EQ(one("SELECT Code + '|' + Result + '|' + Remarks + '|' + Description + '|' + EncodedBy FROM "
                  "Patient_Data..tbPatientConditions WHERE IDNum = 'T1' AND AreaSubCat = 'GU(IE)'"),
              "X|1|Not Assessed|OTHERS|CLERK");
    EXPECT_EQ(window.lblMissing->text(), "Missing: course in the ward");
    EXPECT_FALSE(window.cmdMarkVerified->isEnabled());

    window.txtCourseNote->setPlainText("Seen by the attending; for discharge.");
    window.cmdSaveNote->click();
    EXPECT_EQ(one("SELECT CourseNotes + '|' + EncodedBy FROM Station..tbCourseWard WHERE IDNum = 'T1'"),
              "Seen by the attending; for discharge.|CLERK");

    // Nothing missing: verification is offered at once.
    EXPECT_EQ(window.lblMissing->text(), "Nothing is missing.");
    EXPECT_TRUE(window.cmdMarkVerified->isEnabled());
    window.cmdMarkVerified->click();
    EXPECT_EQ(window.lblMessage->text(), "Marked verified by CLERK.");
    // The patient left on 11/05 at 10:00: the times start there, not at the present.
    EXPECT_THAT(user.log, ElementsAre("T1 CF4 brief history: Fever for three days",
                                      "T1 CF4 vital signs: 11/02/2026 9:15 AM BP 120/80, temperature 37.2, pulse 80, "
                                      "respiratory rate 18",
                                      "T1 CF4 height/weight: 11/05/2026 10:00 AM height 160 cm, weight 55.5 kg",
                                      "T1 CF4 GU(IE): Not Assessed",
                                      "T1 CF4 course in the ward: 11/05/2026 10:00 AM Seen by the attending; for "
                                      "discharge.",
                                      "T1 CF4 verified by CLERK"));
    EXPECT_TRUE(window.unsavedSections().isEmpty());
}

TEST_F(EntryWindowTest, AnOutPatientVisitKeepsItsMeasuresOnTheVisitsHistory)
{
    admitBare("BT2", true);
    ClaimFormWindow& window = open("BT2");
    EXPECT_EQ(window.lblMissing->text(), "Missing: brief history; vital signs; height/weight; GU(IE)");
    window.txtBloodPressure->setText("110/70");
    window.txtTemperature->setText("36.8");
    window.txtPulseRate->setText("72");
    window.txtRespiratoryRate->setText("16");
    QTest::keyClick(window.txtRespiratoryRate, Qt::Key_Return); // Enter saves the section
    // The vital signs made the visit's first history record: the height and weight
    // go into it, where the height/weight check reads them.
    EXPECT_FALSE(window.dtpMeasuredOn->isEnabled());
    window.txtHeight->setText("150");
    window.txtWeight->setText("49");
    QTest::keyClick(window.txtWeight, Qt::Key_Enter);
    EXPECT_EQ(one("SELECT count(1) FROM Patient_Data..tbOutPatientHistory WHERE IDNum = 'BT2'"), "1");
    EXPECT_EQ(one("SELECT PulseRate + '|' + Height + '|' + Weight FROM Patient_Data..tbOutPatientHistory "
                  "WHERE IDNum = 'BT2'"),
              "72|150|49");
    EXPECT_EQ(one("SELECT count(1) FROM Station..tbNurseVitalSigns WHERE IDNum = 'BT2'"), "0");
    EXPECT_EQ(window.lblMissing->text(), "Missing: brief history; GU(IE)");
}

TEST_F(EntryWindowTest, InputIsCheckedBeforeAnythingIsWritten)
{
    admitBare("T1");
    ClaimFormWindow& window = open("T1");
    window.show();
    const auto vitals = [&](const char* bp, const char* temperature, const char* pulse, const char* rate) {
        window.tabSections->setCurrentWidget(window.txtBloodPressure->parentWidget());
        window.txtBloodPressure->setText(bp);
        window.txtTemperature->setText(temperature);
        window.txtPulseRate->setText(pulse);
        window.txtRespiratoryRate->setText(rate);
        window.cmdSaveVitals->click();
        return window.lblMessage->text().toStdString();
    };
    EXPECT_THAT(vitals("80/120", "37", "80", "18"), HasSubstr("Blood pressure: type it as systolic/diastolic"));
    EXPECT_EQ(window.focusWidget(), window.txtBloodPressure);
    EXPECT_THAT(vitals("120/80", "45.5", "80", "18"), HasSubstr("Temperature: type degrees Celsius from 30 to 45"));
    EXPECT_THAT(vitals("120/80", "37", "19", "18"), HasSubstr("Pulse:"));
    EXPECT_THAT(vitals("120/80", "37", "80", "81"), HasSubstr("Respiratory rate:"));
    EXPECT_THAT(vitals("120/80", "37", "80", "18"), HasSubstr("Saved the vital signs"));
    window.dtpVitalsTakenOn->setDateTime(kNow.addSecs(3600));
    EXPECT_THAT(vitals("120/80", "37", "80", "18"), HasSubstr("Taken on: the date and time cannot be in the future."));
    window.dtpVitalsTakenOn->setDateTime(QDateTime(QDate(2026, 11, 1), QTime(7, 0)));
    EXPECT_THAT(vitals("120/80", "37", "80", "18"), HasSubstr("cannot be before the admission (11/02/2026 8:00 AM)"));
    EXPECT_EQ(one("SELECT count(1) FROM Station..tbNurseVitalSigns WHERE IDNum = 'T1'"), "1");

    window.txtBriefHistory->setPlainText(" N/A ");
    window.cmdSaveHistory->click();
    EXPECT_THAT(window.lblMessage->text().toStdString(), HasSubstr("Brief history: \"N/A\" does not count"));
    window.txtHeight->setText("250.5");
    window.txtWeight->setText("60");
    window.cmdSaveHeightWeight->click();
    EXPECT_THAT(window.lblMessage->text().toStdString(), HasSubstr("Height (cm): type centimetres from 20 to 250"));
    window.cboGuFinding->setEditText("  ");
    window.cmdSaveGu->click();
    EXPECT_THAT(window.lblMessage->text().toStdString(), HasSubstr("GU(IE) finding: type a text."));
    EXPECT_EQ(one("SELECT count(1) FROM Patient_Data..tbPatientHistory WHERE IDNum = 'T1'"), "0");
    EXPECT_EQ(one("SELECT count(1) FROM Patient_Data..tbPatientConditions WHERE IDNum = 'T1'"), "0");
    EXPECT_EQ(one("SELECT BriefHistory FROM Patient_Data..tbPatient WHERE IDNum = 'T1'"), "");
    EXPECT_EQ(user.log.size(), 1); // the one saved vital-signs record
}

TEST_F(EntryWindowTest, EnterSavesEscAsksBeforeLosingTypedValues)
{
    admitBare("T1");
    ClaimFormWindow& window = open("T1");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Shift+Enter is a new line in the history; Enter saves it.
    window.tabSections->setCurrentIndex(1);
    window.txtBriefHistory->setFocus();
    QTest::keyClicks(window.txtBriefHistory, "Fever");
    QTest::keyClick(window.txtBriefHistory, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(window.txtBriefHistory, "three days");
    QTest::keyClick(window.txtBriefHistory, Qt::Key_Return);
    EXPECT_EQ(one("SELECT BriefHistory FROM Patient_Data..tbPatient WHERE IDNum = 'T1'"), "Fever\nthree days");

    window.txtHeight->setText("160");
    QPointer<ClaimFormWindow> open(&window);
    messages.setNextAnswer(false);
    QTest::keyClick(&window, Qt::Key_Escape);
    ASSERT_EQ(messages.asked.size(), 1);
    EXPECT_THAT(messages.asked[0].toStdString(), HasSubstr("changes that are not saved (height/weight)"));
    EXPECT_TRUE(window.isVisible());
    messages.setNextAnswer(true);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(open.isNull() || !open->isVisible());
    EXPECT_EQ(one("SELECT count(1) FROM Patient_Data..tbPatientHistory WHERE IDNum = 'T1'"), "0");
}

TEST_F(EntryWindowTest, DoctorsOrdersAreImportedFromTheWindowOnce)
{
    admitBare("T1");
    exec("INSERT INTO Station.tbDoctorOrders (IDNum, OrderDate, OrderText) VALUES "
         "('T1', '2026-11-02 09:00:00.000', 'CBC, urinalysis'), ('T1', '2026-11-03 09:00:00.000', 'May go home')");
    ClaimFormWindow& window = open("T1");
    EXPECT_THAT(window.lblMissing->text().toStdString(), HasSubstr("course in the ward"));
    window.cmdImportOrders->click();
    EXPECT_EQ(window.lblOrders->text(), "Found 2 doctors' orders; the new ones were added to the course in the ward.");
    EXPECT_EQ(window.grdOrders->rowCount(), 3);
    EXPECT_EQ(one("SELECT count(1) FROM Station..tbCourseWard WHERE IDNum = 'T1' AND EncodedBy = 'CLERK'"), "2");
    EXPECT_THAT(window.lblMissing->text().toStdString(), ::testing::Not(HasSubstr("course in the ward")));
    EXPECT_THAT(user.log, ElementsAre("T1 CF4 course in the ward: doctors' orders imported"));
    window.cmdImportOrders->click();
    EXPECT_EQ(window.lblOrders->text(), "Found 2 doctors' orders; every one is in the course in the ward already.");
    EXPECT_EQ(user.log.size(), 1);

    ClaimFormWindow& none = open("NO-ORDERS");
    EXPECT_FALSE(none.cmdImportOrders->isEnabled()); // an unknown admission offers no page to change
    admitBare("T2");
    ClaimFormWindow& without = open("T2");
    without.cmdImportOrders->click();
    EXPECT_EQ(without.lblOrders->text(), "This admission has no doctors' orders.");
}


TEST_F(EntryWindowTest, TextsNumbersAndTimesAreBoundBeforeAnythingIsWritten)
{
    admitBare("T1"); // discharged on 11/05/2026 at 10:00 AM
    ClaimFormWindow& window = open("T1");
    const auto refusal = [&](QPushButton* save) {
        save->click();
        return window.lblMessage->text();
    };
    // Each text against its column's declared length, in the window's own words.
    window.txtBriefHistory->setPlainText(QString(612, 'h'));
    EXPECT_EQ(refusal(window.cmdSaveHistory), "Brief history: 612 characters; at most 500. Nothing was saved.");
    EXPECT_EQ(window.focusWidget(), window.txtBriefHistory);
    window.cboGuFinding->setEditText(QString(201, 'g'));
    EXPECT_EQ(refusal(window.cmdSaveGu), "GU(IE) finding: 201 characters; at most 200. Nothing was saved.");
    window.txtCourseNote->setPlainText(QString(1001, 'n'));
    EXPECT_EQ(refusal(window.cmdSaveNote), "Note: 1001 characters; at most 1000. Nothing was saved.");

    // The times start at the discharge; a time after it is refused, naming it.
    EXPECT_EQ(window.dtpVitalsTakenOn->dateTime(), QDateTime(QDate(2026, 11, 5), QTime(10, 0)));
    window.dtpVitalsTakenOn->setDateTime(QDateTime(QDate(2026, 11, 5), QTime(10, 27)));
    window.txtBloodPressure->setText("0120/080");
    window.txtTemperature->setText("037.20");
    window.txtPulseRate->setText("00072");
    window.txtRespiratoryRate->setText("018");
    EXPECT_EQ(refusal(window.cmdSaveVitals),
              "Taken on: the date and time cannot be after the discharge (11/05/2026 10:00 AM). Nothing was saved.");
    EXPECT_EQ(count("SELECT count(1) FROM Patient_Data..tbPatient WHERE IDNum = 'T1' AND BriefHistory IS NULL") +
                  count("SELECT count(1) FROM Patient_Data..tbPatientConditions WHERE IDNum = 'T1'") +
                  count("SELECT count(1) FROM Station..tbCourseWard WHERE IDNum = 'T1'") +
                  count("SELECT count(1) FROM Station..tbNurseVitalSigns WHERE IDNum = 'T1'"),
              1);

    // Numbers are stored as numbers, whatever their typed form.
    window.dtpVitalsTakenOn->setDateTime(QDateTime(QDate(2026, 11, 5), QTime(9, 0)));
    window.cmdSaveVitals->click();
    EXPECT_EQ(one("SELECT BP + '|' + Temperature + '|' + PulseRate + '|' + RespRate FROM Station..tbNurseVitalSigns "
                  "WHERE IDNum = 'T1'"),
              "120/80|37.2|72|18");
    window.txtHeight->setText("0162.50");
    window.txtWeight->setText("058.40");
    window.cmdSaveHeightWeight->click();
    EXPECT_EQ(one("SELECT Height + '|' + Weight FROM Patient_Data..tbPatientHistory WHERE IDNum = 'T1'"), "162.5|58.4");
    EXPECT_EQ(user.log.size(), 2);
}

TEST_F(EntryWindowTest, HeightAndWeightGoIntoTheFirstHistoryRecordTheCheckReads)
{
    admitBare("T1");
    // The first record the check's statement returns, though not the earliest by date.
    exec("INSERT INTO Patient_Data.tbPatientHistory (IDNum, HistoryDate, ChiefComplaint) VALUES "
         "('T1', '2026-11-02 08:30:00.000', 'Fever')");
    exec("INSERT INTO Patient_Data.tbPatientHistory (IDNum, HistoryDate, Height, Weight) VALUES "
         "('T1', '2026-11-02 08:10:00.000', '150', '50')");
    ClaimFormWindow& window = open("T1");
    EXPECT_EQ(window.txtHeight->text() + "/" + window.txtWeight->text(), "/");
    EXPECT_FALSE(window.dtpMeasuredOn->isEnabled());
    EXPECT_EQ(window.dtpMeasuredOn->dateTime(), QDateTime(QDate(2026, 11, 2), QTime(8, 30)));
    window.txtHeight->setText("160");
    window.txtWeight->setText("55.5");
    window.cmdSaveHeightWeight->click();

    const QString check = "SELECT Height + '|' + Weight FROM Patient_Data..tbPatientHistory WITH (NOLOCK) "
                          "WHERE IDNum = 'T1'";
    EXPECT_EQ(one(check), "160|55.5");
    EXPECT_EQ(one("SELECT count(1) FROM Patient_Data..tbPatientHistory WHERE IDNum = 'T1'"), "2");
    EXPECT_EQ(one("SELECT ChiefComplaint + '|' + convert(varchar, HistoryDate, 0) FROM Patient_Data..tbPatientHistory "
                  "WHERE IDNum = 'T1' AND Height = '160'"),
              "Fever|Nov  2 2026  8:30AM");
    EXPECT_EQ(one("SELECT count(1) FROM Patient_Data..tbPatientHistory WHERE Height = '150' AND Weight = '50'"), "1");
    // The page goes on editing that record, pre-filled with what it holds now.
    EXPECT_EQ(window.txtHeight->text() + "/" + window.txtWeight->text(), "160/55.5");
    EXPECT_TRUE(window.unsavedSections().isEmpty());
    EXPECT_EQ(user.log, QStringList{"T1 CF4 height/weight: 11/02/2026 8:30 AM height 160 cm, weight 55.5 kg"});
}

TEST_F(EntryWindowTest, AFailedSaveSaysWhatWasNotSaved)
{
    admitBare("T1");
    ClaimFormWindow& window = open("T1");
    auto watched = std::make_unique<WatchedConnection>(std::move(user.connection));
    watched->beforeSave = [](int) { throw DatabaseError("The disk is full."); };
    user.connection = std::move(watched);
    window.txtBriefHistory->setPlainText("Fever");
    window.cboGuFinding->setEditText("Not Assessed");
    window.txtBloodPressure->setText("120/80");
    window.txtTemperature->setText("37");
    window.txtPulseRate->setText("80");
    window.txtRespiratoryRate->setText("18");
    window.txtHeight->setText("160");
    window.txtWeight->setText("55");
    window.txtCourseNote->setPlainText("Seen.");
    const std::vector<std::pair<QPushButton*, QString>> saves{
        {window.cmdSaveHistory, "The brief history was not saved: The disk is full."},
        {window.cmdSaveVitals, "The vital signs were not saved: The disk is full."},
        {window.cmdSaveHeightWeight, "The height and weight were not saved: The disk is full."},
        {window.cmdSaveGu, "The GU(IE) finding was not saved: The disk is full."},
        {window.cmdSaveNote, "The note was not saved: The disk is full."},
    };
    for (const auto& [save, message] : saves) {
        save->click();
        EXPECT_EQ(window.lblMessage->text(), message);
    }
    EXPECT_EQ(window.unsavedSections().size(), 5);
    EXPECT_TRUE(user.log.isEmpty());

    // A connection that broke during the save leaves it open whether it went through.
    static_cast<WatchedConnection&>(*user.connection).beforeSave = [](int) {
        throw DatabaseError("Whether the record was saved is not known.", DatabaseErrorKind::SaveOutcomeUnknown);
    };
    window.cmdSaveVitals->click();
    EXPECT_EQ(window.lblMessage->text(),
              "The vital signs may not have been saved: Whether the record was saved is not known.");
}

TEST_F(EntryWindowTest, AnImportThatStopsPartWayLogsWhatItAdded)
{
    admitBare("T1");
    exec("INSERT INTO Station.tbDoctorOrders (IDNum, OrderDate, OrderText) VALUES "
         "('T1', '2026-11-02 09:00:00.000', 'CBC'), ('T1', '2026-11-03 09:00:00.000', 'Urinalysis'), "
         "('T1', '2026-11-04 09:00:00.000', 'May go home')");
    ClaimFormWindow& window = open("T1");
    auto watched = std::make_unique<WatchedConnection>(std::move(user.connection));
    watched->beforeSave = [](int save) {
        if (save == 2)
            throw DatabaseError("The disk is full.");
    };
    user.connection = std::move(watched);
    window.cmdImportOrders->click();
    EXPECT_EQ(window.lblMessage->text(), "The doctors' orders were not all imported (added 1 of 3): The disk is full.");
    EXPECT_EQ(one("SELECT count(1) FROM Station..tbCourseWard WHERE IDNum = 'T1'"), "1");
    EXPECT_EQ(user.log, QStringList{"T1 orders imported: 1 of 3; stopped: The disk is full."});
}

} // namespace
} // namespace vantik::test
