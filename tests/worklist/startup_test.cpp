#include "host/ui/flex_grid_widget.h"
#include "support/demo_db.h"
#include "support/file_permissions.h"
#include "support/temp_dir.h"
#include "support/worklist/worklist_window_fixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;

TEST_F(WorklistWindowTest, NoConnectionEndsTheStartQuietly)
{
    EXPECT_FALSE(start(QString()));
    EXPECT_THAT(user->journal,
                ElementsAre("PasswordDeptCode 21", "setexepath /opt/vantik/bin", "ShowMain", "Connected"));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(stored("txtStartDate"), "<absent>");
}

TEST_F(WorklistWindowTest, FirstStartLogsInPreparesTheLibraryAndStoresTodaysDates)
{
    ASSERT_TRUE(start(sharedDemoDb()));
    EXPECT_THAT(user->journal, ElementsAre("PasswordDeptCode 21", "setexepath /opt/vantik/bin", "ShowMain",
                                           "Connected", "VODURIZevevar", "UseClasses true", "VODURIZevevar",
                                           "InitWithDB"));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(window->txtStartDate->text(), "11/30/2026");
    EXPECT_EQ(window->txtEndDate->text(), "11/30/2026");
    EXPECT_EQ(stored("txtStartDate"), "11/30/2026");
    EXPECT_EQ(stored("txtEndDate"), "11/30/2026");
    for (QCheckBox* box : {window->chkHemoPatient, window->chkChemo, window->chkUnverifiedOnly, window->chkHasHemoNum,
                           window->chkMedicare})
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_TRUE(window->optPatType[0]->isChecked());
    // The filters that are not kept start from the design state.
    EXPECT_TRUE(window->chkTop500->isChecked());
    EXPECT_TRUE(window->optDateType[0]->isChecked());
    EXPECT_TRUE(window->optDischarged[0]->isChecked());
    EXPECT_EQ(window->SSTab1->currentIndex(), 0);
    EXPECT_EQ(window->lblCount->text(), "Count");
    EXPECT_EQ(window->Grid1->columnWidth(2), 2000);
    // The other date columns as wide as the registration date: no time is cut.
    EXPECT_EQ(window->Grid1->columnWidth(3), 2000);
    EXPECT_EQ(window->Grid1->columnWidth(11), 2000);
    EXPECT_EQ(window->Grid1->columnWidth(7), 5000);
    EXPECT_EQ(window->Grid1->columnWidth(19), 1500);
    EXPECT_EQ(window->Grid1->columnWidth(20), 0);
    EXPECT_EQ(window->Grid1->rowCount(), 1);
}

// A database folder the clerk may only read: the log-in goes through, and the
// clerk is told once, at the start, that nothing can be saved.
TEST_F(WorklistWindowTest, AReadOnlyDatabaseIsSaidOnceAfterTheLogIn)
{
    TempDir copy;
    const QString folder = copyOfDemoDb(copy.path());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    FilePermissionsHeld held;
    ASSERT_TRUE(start(folder));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.warned.isEmpty());
    EXPECT_THAT(messages.shown[0].toStdString(), ::testing::HasSubstr("is open read-only"));
    window->cmdRefresh->click();
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_NE(window->lblCount->text(), "Count");
}

TEST_F(WorklistWindowTest, StoredFiltersComeBackAndABadOneIsReportedWithoutStoppingTheRest)
{
    store("txtStartDate", "10/01/2026");
    store("txtEndDate", "not a date");
    store("chkHemoPatient", "1");
    store("chkChemo", "abc");
    store("chkUnverifiedOnly", "7");
    store("chkMedicare", "1");
    store("optPatType", "1");
    ASSERT_TRUE(start(sharedDemoDb()));

    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown[0].endsWith(". Update VODURIZevevar.dll"));
    EXPECT_TRUE(messages.shown[0].contains("chkChemo"));
    EXPECT_TRUE(messages.shown[1].contains("chkUnverifiedOnly"));
    EXPECT_EQ(window->txtStartDate->text(), "10/01/2026");
    EXPECT_EQ(window->txtEndDate->text(), "not a date");
    EXPECT_TRUE(window->chkHemoPatient->isChecked());
    EXPECT_FALSE(window->chkChemo->isChecked());
    EXPECT_FALSE(window->chkUnverifiedOnly->isChecked());
    EXPECT_TRUE(window->chkMedicare->isChecked());
    EXPECT_TRUE(window->optPatType[1]->isChecked());
    EXPECT_EQ(window->Grid1->columnWidth(23), 2000);
}

TEST_F(WorklistWindowTest, LibraryFailuresAreReportedAndTheStartGoesOn)
{
    store("optPatType", "2");
    registry.registerFactory(kCurrentUserProgId, [] { return std::unique_ptr<CurrentUser>(); });
    window = std::make_unique<FrmClaimWorklist>(
        WorklistServices{registry, settings, messages, messageLoop, clock, QStringLiteral("/x")});
    // A component that cannot be created is not the start-up's to handle.
    EXPECT_ANY_THROW(window->load());

    window.reset();
    window = std::make_unique<FrmClaimWorklist>(
        WorklistServices{registry, settings, messages, messageLoop, clock, QStringLiteral("/x")});
    registry.registerFactory(kCurrentUserProgId, [this] {
        auto made = std::make_unique<FakeCurrentUser>();
        made->databaseFolder = sharedDemoDb();
        made->classes.failing = QStringList{"UseClasses", "InitWithDB"};
        user = made.get();
        return made;
    });
    ASSERT_TRUE(window->load());
    ASSERT_EQ(messages.shown.size(), 3);
    EXPECT_EQ(messages.shown[0], "UseClasses failed. Update VODURIZevevar.dll");
    EXPECT_EQ(messages.shown[1], "InitWithDB failed. Update VODURIZevevar.dll");
    EXPECT_TRUE(messages.shown[2].contains("optPatType")) << messages.shown[2].toStdString();
    EXPECT_TRUE(messages.shown[2].endsWith(". Update VODURIZevevar.dll"));
    EXPECT_TRUE(window->optPatType[0]->isChecked());
    EXPECT_EQ(window->txtStartDate->text(), "11/30/2026");
}

TEST_F(WorklistWindowTest, EveryChangeOfAKeptFilterIsStoredAtOnce)
{
    ASSERT_TRUE(start(sharedDemoDb()));
    window->txtStartDate->setText("1");
    EXPECT_EQ(stored("txtStartDate"), "1");
    window->txtEndDate->setText("12/3");
    EXPECT_EQ(stored("txtEndDate"), "12/3");
    window->chkHasHemoNum->setChecked(true);
    EXPECT_EQ(stored("chkHasHemoNum"), "1");
    window->chkHasHemoNum->setChecked(false);
    EXPECT_EQ(stored("chkHasHemoNum"), "0");
    window->optPatType[1]->click();
    EXPECT_EQ(stored("optPatType"), "1");
    window->optPatType[0]->click();
    EXPECT_EQ(stored("optPatType"), "0");
    // Filters that are not kept write nothing.
    window->chkVerifiedOnly->setChecked(true);
    EXPECT_EQ(stored("chkVerifiedOnly"), "<absent>");

    window->cmdToday->click();
    EXPECT_EQ(window->txtStartDate->text(), "11/30/2026");
    EXPECT_EQ(stored("txtStartDate"), "11/30/2026");
    EXPECT_EQ(stored("txtEndDate"), "11/30/2026");

    // The next start shows what was left.
    window->chkChemo->setChecked(true);
    window->optPatType[1]->click();
    window.reset();
    ASSERT_TRUE(start(sharedDemoDb()));
    EXPECT_TRUE(window->chkChemo->isChecked());
    EXPECT_TRUE(window->optPatType[1]->isChecked());
}

// A settings file that cannot be written would lose every change in silence.
TEST(UnwritableSettings, TheClerkIsToldOncePerRun)
{
    TempDir folder;
    QFile blocker(folder.file("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore settings{folder.file("not-a-folder")};
    ScriptedMessageBox messages;
    ScriptedMessageLoop messageLoop;
    FixedClock clock{QDate(2026, 11, 30)};
    ComponentRegistry registry;
    registry.registerFactory(kCurrentUserProgId, [] {
        auto made = std::make_unique<FakeCurrentUser>();
        made->databaseFolder = sharedDemoDb();
        return made;
    });
    FrmClaimWorklist window(WorklistServices{registry, settings, messages, messageLoop, clock, folder.path()});
    ASSERT_TRUE(window.load());
    ASSERT_EQ(messages.warned.size(), 1);
    EXPECT_TRUE(messages.warned[0].contains("cannot be saved")) << messages.warned[0].toStdString();
    window.txtStartDate->setText("11/01/2026");
    window.chkChemo->setChecked(true);
    EXPECT_EQ(messages.warned.size(), 1);
}

} // namespace
} // namespace vantik::test
