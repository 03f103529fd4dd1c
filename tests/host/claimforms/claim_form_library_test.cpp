// The built-in claim-form library on a copy of the demo database, with admissions
// made for each case.

#include "host/claimforms/builtin_claim_form.h"
#include "host/claimforms/builtin_claim_form_classes.h"
#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/days_used_window.h"
#include "host/component_error.h"
#include "host/data/connection.h"
#include "host/data/settings_store.h"
#include "host/ui/flex_grid_widget.h"
#include "support/demo_db.h"
#include "support/fake_host.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"
#include "library_fixture.h"
#include "support/watched_connection.h"

#include "host/ui/repaint_pacer.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace vantik;
using namespace vantik::test;

namespace {

class ClaimFormLibraryTest : public LibraryOnDemoCopy {
protected:
    // An in-patient admission with every section the insurer asks for.
    void admitComplete(const QString& id, const QString& hospNum = "T0001")
    {
        exec("INSERT OR IGNORE INTO Patient_Data.tbMaster (HospNum, LastName, FirstName, Sex) VALUES (?, 'TESTER', 'ANA', 'F')",
             {hospNum});
        exec("INSERT INTO Patient_Data.tbPatient (IDNum, HospNum, ADMDATE, DCRDATE, BriefHistory) VALUES "
             "(?, ?, '2026-11-02 08:00:00.000', '2026-11-05 10:00:00.000', 'Fever for three days')",
             {id, hospNum});
        exec("INSERT INTO Station.tbNurseVitalSigns (IDNum, BP, Temperature, PulseRate, RespRate) VALUES "
             "(?, '120/80', '37.0', '80', '18')",
             {id});
        exec("INSERT INTO Patient_Data.tbPatientHistory (IDNum, Height, Weight) VALUES (?, '160', '55')", {id});
        exec("INSERT INTO Patient_Data.tbPatientConditions (IDNum, AreaCat, AreaSubCat, Description) VALUES "
             "(?, 'PhysicalExam', 'GU(IE)', 'OTHERS')",
             {id});
        exec("INSERT INTO Station.tbCourseWard (IDNum, CourseNotes) VALUES (?, 'Admitted.')", {id});
        exec("INSERT INTO Patient_Data.tbPatientMedicine (IDNum, GenericName) VALUES (?, 'PARACETAMOL')", {id});
    }

    std::shared_ptr<ClaimForm> form(const QString& id)
    {
        auto made = library.clsCF4();
        made->IDNUM(id);
        made->nonmodal(true);
        return made;
    }

    std::shared_ptr<BuiltinClaimForm> shown(const QString& id)
    {
        auto made = std::static_pointer_cast<BuiltinClaimForm>(form(id));
        made->Title("CF4 Entries");
        made->showEntry();
        return made;
    }
};

// What the clerk can see of an entry window and its controls, one line each.
QString snapshot(const ClaimFormWindow& window)
{
    QStringList lines{window.windowTitle() + (window.isVisible() ? " shown" : " hidden")};
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.removeIf([](QWidget* w) { return w->objectName().isEmpty() || w->objectName().startsWith("qt_"); });
    std::sort(widgets.begin(), widgets.end(), [](QWidget* a, QWidget* b) { return a->objectName() < b->objectName(); });
    for (QWidget* w : widgets) {
        QString line = w->objectName() + (w->isEnabled() ? " on" : " off") + " tip=" + w->toolTip()
                       + " style=" + w->styleSheet();
        if (auto* label = qobject_cast<QLabel*>(w))
            line += " text=" + label->text();
        else if (auto* box = qobject_cast<QLineEdit*>(w))
            line += " text=" + box->text();
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
            line += " text=" + plain->toPlainText();
        else if (auto* browser = qobject_cast<QTextBrowser*>(w))
            line += QString(" text=%1 at %2").arg(browser->toPlainText()).arg(browser->verticalScrollBar()->value());
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            line += " text=" + combo->currentText();
        else if (auto* when = qobject_cast<QDateTimeEdit*>(w))
            line += " at=" + when->dateTime().toString(Qt::ISODate);
        else if (auto* button = qobject_cast<QPushButton*>(w))
            line += QString(" default=%1").arg(button->isDefault());
        else if (auto* tabs = qobject_cast<QTabWidget*>(w))
            line += QString(" page=%1").arg(tabs->currentIndex());
        else if (auto* grid = qobject_cast<FlexGridWidget*>(w))
            line += QString(" rows=%1").arg(grid->rowCount());
        lines << line;
    }
    return lines.join('\n');
}

} // namespace

TEST_F(ClaimFormLibraryTest, VerifyDataNamesEveryMissingSectionInTheFormsOrder)
{
    admitComplete("T1");
    EXPECT_EQ(form("T1")->verifydata(), "");
    EXPECT_TRUE(form("T1")->ValidateRequirements());

    // Each piece taken away in turn; the finding grows in the form's order.
    exec("UPDATE Station.tbNurseVitalSigns SET PulseRate = NULL WHERE IDNum = 'T1'"); // incomplete record
    EXPECT_EQ(form("T1")->verifydata(), "Missing: vital signs");
    exec("DELETE FROM Patient_Data.tbPatientMedicine WHERE IDNum = 'T1'");
    exec("UPDATE Patient_Data.tbPatientHistory SET Weight = '' WHERE IDNum = 'T1'");
    EXPECT_EQ(form("T1")->verifydata(), "Missing: vital signs; height/weight; medicines");
    exec("UPDATE Patient_Data.tbPatient SET BriefHistory = ' none ', DCRDATE = NULL WHERE IDNum = 'T1'");
    exec("DELETE FROM Station.tbCourseWard WHERE IDNum = 'T1'");
    exec("UPDATE Patient_Data.tbPatientConditions SET AreaSubCat = 'NEURO-EXAM' WHERE IDNum = 'T1'");
    EXPECT_EQ(form("T1")->verifydata(), "Missing: brief history; vital signs; height/weight; GU(IE); "
                                        "course in the ward; medicines; discharge date");
    EXPECT_FALSE(form("T1")->ValidateRequirements());

    // An out-patient visit needs neither ward notes nor a discharge; its vital
    // signs and measurements are on the visit's history.
    exec("INSERT INTO Patient_Data.tbOutPatient (IDNum, HospNum, ADMDATE, BriefHistory) VALUES "
         "('BT2', 'T0001', '2026-11-10 09:00:00.000', 'NA')");
    exec("INSERT INTO Patient_Data.tbOutPatientHistory (IDNum, BloodPressure, Temperature, PulseRate, RespiratoryRate, "
         "Height, Weight) VALUES ('BT2', '110/70', '36.8', '72', '16', '160', '55')");
    EXPECT_EQ(form("BT2")->verifydata(), "Missing: brief history; GU(IE); medicines");

    EXPECT_EQ(form("NO-SUCH")->verifydata(), "Admission not found");
    EXPECT_FALSE(form("")->ValidateRequirements());
    // An apostrophe in the identifier is a literal, not the end of the statement.
    EXPECT_EQ(form("T1' OR '1'='1")->verifydata(), "Admission not found");
}

TEST_F(ClaimFormLibraryTest, EntryWindowOffersVerificationOnlyWhenCompleteAndRecordsTheClerk)
{
    admitComplete("T1");
    admitComplete("T2");
    exec("DELETE FROM Patient_Data.tbPatientMedicine WHERE IDNum = 'T2'");
    exec("INSERT INTO Station.tbNurseProfile (IDNum, CF4Status) VALUES ('T1', 'FOR VERIFICATION')");

    auto complete = std::static_pointer_cast<BuiltinClaimForm>(form("T1"));
    complete->Title("CF4 Entries");
    complete->showEntry();
    ClaimFormWindow* window = complete->entryWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "CF4 Entries - T1");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->cmdMarkVerified->isEnabled());
    EXPECT_TRUE(window->txtSummary->toPlainText().contains("PARACETAMOL"));
    window->cmdMarkVerified->click();
    const ResultSet profile = user.sqlconnection().execute(
        "SELECT CF4VerifiedBy, CF4Status, convert(varchar, CF4VerifiedOn, 0) FROM Station..tbNurseProfile WHERE IDNum = 'T1'");
    ASSERT_EQ(profile.rowCount(), 1);
    EXPECT_EQ(profile.text(0, 0), "CLERK");
    EXPECT_EQ(profile.text(0, 1), "VERIFIED");
    EXPECT_EQ(profile.text(0, 2), "Nov 30 2026  9:30AM");
    EXPECT_EQ(window->lblMessage->text(), "Marked verified by CLERK.");
    EXPECT_FALSE(window->cmdMarkVerified->isEnabled()); // the first verifier stays on record

    // Without a nurse profile, one is made; an incomplete form cannot be verified.
    auto incomplete = std::static_pointer_cast<BuiltinClaimForm>(form("T2"));
    incomplete->showEntry();
    EXPECT_FALSE(incomplete->entryWindow()->cmdMarkVerified->isEnabled());
    incomplete->entryWindow()->markVerified();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Station..tbNurseProfile WHERE IDNum = 'T2'"), 0);
    exec("INSERT INTO Patient_Data.tbPatientMedicine (IDNum, GenericName) VALUES ('T2', 'CEFUROXIME')");
    incomplete->entryWindow()->reload();
    incomplete->entryWindow()->markVerified();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Station..tbNurseProfile WHERE IDNum = 'T2' AND CF4VerifiedBy = 'CLERK'"), 1);

    // Unknown admissions, the empty identifier included, get a window that says so.
    auto unknown = std::static_pointer_cast<BuiltinClaimForm>(form(""));
    unknown->showEntry();
    ASSERT_NE(unknown->entryWindow(), nullptr);
    EXPECT_TRUE(unknown->entryWindow()->lblHeader->text().contains("was not found"));
    EXPECT_FALSE(unknown->entryWindow()->cmdMarkVerified->isEnabled());

    EXPECT_EQ(library.openWindows().size(), 3u);
    // Another form object on an open admission brings its window forward again.
    auto again = std::static_pointer_cast<BuiltinClaimForm>(form("T1"));
    again->showEntry();
    EXPECT_EQ(again->entryWindow(), window);
    EXPECT_EQ(library.openWindows().size(), 3u);
    complete->UnloadForm();
    EXPECT_EQ(complete->entryWindow(), nullptr);
    complete->UnloadForm(); // nothing open any more
    EXPECT_EQ(library.openWindows().size(), 2u);

    // The print button's call opens the summary's print preview with the window.
    auto printed = std::static_pointer_cast<BuiltinClaimForm>(form("T1"));
    printed->showEntry(true);
    ASSERT_NE(printed->entryWindow()->printPreview(), nullptr);
    EXPECT_TRUE(printed->entryWindow()->printPreview()->isVisible());
}

TEST_F(ClaimFormLibraryTest, AWindowGivenBackShowsTheNextAdmissionAsANewWindowWould)
{
    admitComplete("T1");
    admitComplete("T2", "T0002");
    exec("DELETE FROM Station.tbCourseWard WHERE IDNum = 'T2'");
    exec("INSERT INTO Patient_Data.tbPatientMedicine (IDNum, GenericName) VALUES ('T2', 'AMOXICILLIN')");

    QString expected;
    {
        auto fresh = shown("T2");
        expected = snapshot(*fresh->entryWindow());
        delete fresh->entryWindow();
    }

    for (int i = 0; i < 60; ++i) // a summary long enough to scroll
        exec("INSERT INTO Patient_Data.tbPatientMedicine (IDNum, GenericName) VALUES ('T1', 'CEFUROXIME')");

    // The clerk only looks: another page, the summary scrolled.
    auto first = shown("T1");
    auto second = shown("T1"); // the same window, brought forward
    ClaimFormWindow* window = first->entryWindow();
    window->tabSections->setCurrentIndex(3);
    QScrollBar* scroll = window->txtSummary->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0);
    scroll->setValue(scroll->maximum());
    second->UnloadForm();
    EXPECT_TRUE(library.openWindows().empty());
    EXPECT_EQ(first->entryWindow(), nullptr);

    auto next = shown("T2");
    ASSERT_EQ(next->entryWindow(), window);
    EXPECT_EQ(snapshot(*window).toStdString(), expected.toStdString());

    // The first admission's objects no longer reach the window.
    first->UnloadForm();
    EXPECT_EQ(next->entryWindow(), window);
    EXPECT_TRUE(window->isVisible());

    // Given back and not taken again, it is gone from the screen once events run.
    next->UnloadForm();
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ClaimFormLibraryTest, AWindowHoldingTheClerksWorkIsNeitherClosedNorReused)
{
    admitComplete("T1");
    admitComplete("T2", "T0002");
    // The clerk's own window, with typing not saved yet, is reached by a pass.
    QPointer<ClaimFormWindow> window = shown("T1")->entryWindow();
    window->txtHeight->setText("170");
    auto pass = shown("T1");
    pass->UnloadForm();
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->txtHeight->text(), "170");
    auto next = shown("T2");
    EXPECT_NE(next->entryWindow(), window);
    EXPECT_EQ(next->entryWindow()->txtHeight->text(), "160"); // its own history record's

    // A refused save counts as the clerk's work too, even with the box as it was again.
    window = next->entryWindow();
    window->txtWeight->setText("heavy");
    window->cmdSaveHeightWeight->click();
    window->txtWeight->setText("55");
    next->UnloadForm();
    EXPECT_TRUE(window.isNull());
}

TEST_F(ClaimFormLibraryTest, DuringABatchTheSummaryFollowsAtTheFrameAndEndsOnTheLastAdmission)
{
    admitComplete("T1");
    admitComplete("T2", "T0002");
    exec("INSERT INTO Patient_Data.tbPatientMedicine (IDNum, GenericName) VALUES ('T2', 'AMOXICILLIN')");
    ClaimFormWindow* window = nullptr;
    {
        BatchScope batch;
        for (const QString id : {"T1", "T2"}) {
            auto form = shown(id);
            window = form->entryWindow();
            if (id == "T2")
                break;
            form->UnloadForm();
        }
        EXPECT_EQ(window->windowTitle(), "CF4 Entries - T2");
    }
    EXPECT_TRUE(window->txtSummary->toPlainText().contains("AMOXICILLIN"));
}

TEST_F(ClaimFormLibraryTest, DaysUsedCountOnlyTheDaysInsideTheAdmissionsYear)
{
    const auto admit = [&](const QString& id, const QString& in, const QVariant& out) {
        exec("INSERT INTO Patient_Data.tbPatient (IDNum, HospNum, ADMDATE, DCRDATE) VALUES (?, 'T0009', ?, ?)", {id, in, out});
    };
    exec("INSERT INTO Patient_Data.tbMaster (HospNum, LastName, FirstName) VALUES ('T0009', 'DAYS', 'DINA')");
    admit("Y1", "2025-12-28 22:00:00.000", "2026-01-03 06:00:00.000"); // 4 days in 2025, 2 in 2026
    admit("Y2", "2026-02-01 10:00:00.000", "2026-02-11 09:00:00.000"); // 10
    admit("Y3", "2026-11-25 23:00:00.000", QVariant());                 // still admitted: 5 to today
    admit("Y4", "2025-03-01 10:00:00.000", "2025-03-04 10:00:00.000"); // 3, the year before

    library.SetPatient("T0009", "Y2", "", false);
    library.insurance().ShowForm();
    auto* window = qobject_cast<DaysUsedWindow*>(library.openWindows().back());
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->grdStays->rowCount(), 3);
    EXPECT_EQ(window->grdStays->item(0, 0)->text(), "Y1");
    EXPECT_EQ(window->grdStays->item(0, 3)->text(), "2");
    EXPECT_EQ(window->grdStays->item(2, 2)->text(), "(still admitted)");
    EXPECT_EQ(window->lblTotal->text(), "Days used: 17");
    EXPECT_EQ(window->lblRemaining->text(), "Days remaining: 28 of 45");

    settings.write("VANTIK", "ClaimForms", "YearlyDaysLimit", "0");
    library.SetPatient("T0009", "Y4", "", false);
    library.insurance().ShowForm();
    window = qobject_cast<DaysUsedWindow*>(library.openWindows().back());
    EXPECT_EQ(window->lblTotal->text(), "Days used: 7");
    EXPECT_EQ(window->lblRemaining->text(), "No yearly limit on days.");

    library.SetPatient("T0009", "NO-SUCH", "", false);
    EXPECT_THROW(library.insurance().ShowForm(), ComponentError);
}

TEST_F(ClaimFormLibraryTest, OrdersLoadThenImportOnce)
{
    admitComplete("T1");
    // The grid shows 9:00:00 AM; the order was written at 9:00:00.003.
    exec("INSERT INTO Station.tbDoctorOrders (IDNum, OrderDate, OrderText, DoctorID) VALUES "
         "('T1', '2026-11-02 09:00:00.003', 'CBC, urinalysis', NULL), "
         "('T1', '2026-11-03 09:00:00.000', 'May go home', NULL)");
    // The second order is already in the ward notes, at its time and with its text.
    exec("INSERT INTO Station.tbCourseWard (IDNum, CourseDate, CourseNotes) VALUES "
         "('T1', '2026-11-03 09:00:00.000', 'May go home')");
    FlexGridWidget grid;
    QString status;
    auto orders = form("T1");
    orders->Addonly(true);
    orders->LoadDocOrders("T1", grid, status);
    EXPECT_EQ(status, "found");
    ASSERT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.text(0, 1), "Order");
    EXPECT_EQ(grid.text(1, 1), "CBC, urinalysis");

    orders->ImportOrders("T1", grid, status);
    EXPECT_EQ(status, "new");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Station..tbCourseWard WHERE IDNum = 'T1'"), 3);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Station..tbCourseWard WHERE IDNum = 'T1' AND CourseNotes = 'CBC, urinalysis' "
                    "AND EncodedBy = 'CLERK'"),
              1);
    // The note keeps the order's own time, not the grid's text of it.
    EXPECT_EQ(count("SELECT COUNT(*) FROM Station..tbCourseWard WHERE IDNum = 'T1' AND "
                    "CourseDate = '2026-11-02T09:00:00.003'"),
              1);
    orders->ImportOrders("T1", grid, status);
    EXPECT_EQ(status, "exists");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Station..tbCourseWard WHERE IDNum = 'T1'"), 3);

    orders->LoadDocOrders("T2", grid, status);
    EXPECT_EQ(status, "none");
    EXPECT_EQ(grid.rowCount(), 1);
}

TEST_F(ClaimFormLibraryTest, TwoClerksVerifyingOneFormKeepTheFirstVerification)
{
    admitComplete("T1");
    admitComplete("T2");
    exec("INSERT INTO Station.tbNurseProfile (IDNum, CF4Status) VALUES ('T1', 'FOR VERIFICATION')");
    // A second clerk on a connection of their own.
    FakeCurrentUser otherUser;
    otherUser.databaseFolder = folder.path();
    otherUser.ShowMain();
    BuiltinClaimFormClasses otherLibrary{ClaimFormEnvironment{otherUser, [] { return QStringLiteral("OTHER"); },
                                                              [] { return QDateTime(QDate(2026, 11, 30), QTime(9, 0)); },
                                                              &settings}};
    otherLibrary.UseClasses(true);
    otherLibrary.InitWithDB();
    const auto open = [](BuiltinClaimFormClasses& in, const QString& id) {
        auto made = std::static_pointer_cast<BuiltinClaimForm>(in.clsCF4());
        made->IDNUM(id);
        made->nonmodal(true);
        made->showEntry();
        return made;
    };
    const QString verifier = "SELECT CF4VerifiedBy + '|' + CF4Status + '|' + ChangeBy FROM Station..tbNurseProfile "
                             "WHERE IDNum = '%1'";

    // Both have the form open; both press Mark verified. With a profile, and without one.
    for (const QString id : {"T1", "T2"}) {
        auto mine = open(library, id);
        auto theirs = open(otherLibrary, id);
        ASSERT_TRUE(mine->entryWindow()->cmdMarkVerified->isEnabled());
        ASSERT_TRUE(theirs->entryWindow()->cmdMarkVerified->isEnabled());
        theirs->entryWindow()->cmdMarkVerified->click();
        EXPECT_EQ(theirs->entryWindow()->lblMessage->text(), "Marked verified by OTHER.");
        mine->entryWindow()->cmdMarkVerified->click();
        EXPECT_TRUE(mine->entryWindow()->lblMessage->text().contains("changed by another user"))
            << mine->entryWindow()->lblMessage->text().toStdString();
        EXPECT_TRUE(mine->entryWindow()->cmdReload->isDefault());
        EXPECT_EQ(user.sqlconnection().execute(verifier.arg(id)).text(0, 0), "OTHER|VERIFIED|OTHER");
        // Reload shows the other clerk's verification and offers none.
        mine->entryWindow()->cmdReload->click();
        EXPECT_FALSE(mine->entryWindow()->cmdMarkVerified->isEnabled());
        EXPECT_EQ(mine->entryWindow()->lblMessage->text(), "");
    }

    // A change from outside since the window read the profile (the status alone) is kept too.
    admitComplete("T3");
    exec("INSERT INTO Station.tbNurseProfile (IDNum, CF4Status) VALUES ('T3', 'OPEN')");
    auto mine = open(library, "T3");
    exec("UPDATE Station.tbNurseProfile SET CF4Status = 'ON HOLD' WHERE IDNum = 'T3'");
    mine->entryWindow()->cmdMarkVerified->click();
    EXPECT_TRUE(mine->entryWindow()->lblMessage->text().contains("nothing was saved"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM Station..tbNurseProfile WHERE IDNum = 'T3' AND CF4VerifiedBy IS NULL "
                    "AND CF4Status = 'ON HOLD'"),
              1);
    mine->entryWindow()->cmdReload->click();
    mine->entryWindow()->cmdMarkVerified->click();
    EXPECT_EQ(mine->entryWindow()->lblMessage->text(), "Marked verified by CLERK.");
    // The worklist's "Changed By" filter finds the clerk's verification.
    EXPECT_EQ(count("SELECT COUNT(*) FROM Station..tbNurseProfile NP WHERE NP.ChangeBy like '%CLERK%' AND "
                    "NP.IDNum = 'T3' AND NP.ChangeDate = '2026-11-30T09:30:00'"),
              1);
}

// A verification attests the whole form as the window showed it: any row of it
// changed since is a reason to look again, not only the profile.
TEST_F(ClaimFormLibraryTest, AVerificationChecksEveryRowTheWindowShowed)
{
    const auto other = Connection::openEmbedded(folder.path());
    const std::vector<std::pair<const char*, QString>> changes{
        {"brief history", "UPDATE Patient_Data.tbPatient SET BriefHistory = 'Cough' WHERE IDNum = '%1'"},
        {"vital signs", "INSERT INTO Station.tbNurseVitalSigns (IDNum, BP) VALUES ('%1', '90/60')"},
        {"height/weight", "UPDATE Patient_Data.tbPatientHistory SET Weight = '56' WHERE IDNum = '%1'"},
        {"GU(IE)", "UPDATE Patient_Data.tbPatientConditions SET Code = 'X' WHERE IDNum = '%1'"},
        {"course in the ward", "UPDATE Station.tbCourseWard SET CourseNotes = 'Transferred.' WHERE IDNum = '%1'"},
        {"medicines", "UPDATE Patient_Data.tbPatientMedicine SET Route = 'IV' WHERE IDNum = '%1'"},
    };
    int n = 0;
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        const QString id = QStringLiteral("T%1").arg(++n);
        admitComplete(id);
        auto mine = shown(id);
        ClaimFormWindow& window = *mine->entryWindow();
        ASSERT_TRUE(window.cmdMarkVerified->isEnabled());
        other->executeNative(change.arg(id), {});
        window.cmdMarkVerified->click();
        EXPECT_TRUE(window.lblMessage->text().contains("changed by another user")) << window.lblMessage->text().toStdString();
        EXPECT_EQ(count(QStringLiteral("SELECT count(1) FROM Station..tbNurseProfile WHERE IDNum = '%1'").arg(id)), 0);
        // Once the clerk has seen the form as it is, the verification lands and is logged.
        window.cmdReload->click();
        window.cmdMarkVerified->click();
        EXPECT_EQ(window.lblMessage->text(), "Marked verified by CLERK.");
        EXPECT_EQ(user.log.last(), id + " CF4 verified by CLERK");
    }
}

TEST_F(ClaimFormLibraryTest, AValidationPassLeavesAtMostOneEntryWindow)
{
    admitComplete("T1");
    admitComplete("T2");
    // What a validation pass does per row: open the form, check it through a
    // second object, unload that.
    for (int pass = 0; pass < 3; ++pass) {
        for (const QString id : {"T1", "T2", "NO-SUCH"}) {
            form(id)->showEntry();
            auto check = form(id);
            check->showEntry();
            check->verifydata();
            check->UnloadForm();
            EXPECT_LE(library.openWindows().size(), 1u);
        }
    }
    EXPECT_TRUE(library.openWindows().empty());
}

TEST_F(ClaimFormLibraryTest, AVerificationChecksEveryColumnOfTheProfileWhenItLands)
{
    admitComplete("T1");
    exec("INSERT INTO Station.tbNurseProfile (IDNum, CF4Status, CF4AssignedTo) VALUES ('T1', 'OPEN', 'ANA')");
    auto mine = std::static_pointer_cast<BuiltinClaimForm>(form("T1"));
    mine->showEntry();
    // Another clerk re-assigns the form between the window's check and its save:
    // a column this save does not write, changed at the last moment.
    auto watched = std::make_unique<WatchedConnection>(std::move(user.connection));
    WatchedConnection* connection = watched.get();
    user.connection = std::move(watched);
    const auto other = Connection::openEmbedded(folder.path());
    connection->beforeSave = [&](int) {
        other->executeNative("UPDATE Station.tbNurseProfile SET CF4AssignedTo = 'BEN' WHERE IDNum = 'T1'", {});
    };
    mine->entryWindow()->cmdMarkVerified->click();
    EXPECT_TRUE(mine->entryWindow()->lblMessage->text().contains("changed by another user"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM Station..tbNurseProfile WHERE IDNum = 'T1' AND CF4VerifiedBy IS NULL "
                    "AND CF4AssignedTo = 'BEN'"),
              1);
}
