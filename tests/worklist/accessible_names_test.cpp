// Every control a clerk works with has a name a screen reader can say, in every
// window of the program.

#include "batchupdate/frm_batch_update.h"
#include "batchupdate/install_batch_update.h"
#include "cf4codes/frm_philhealth_codes.h"
#include "host/claimforms/builtin_claim_form.h"
#include "host/claimforms/builtin_claim_form_classes.h"
#include "host/claimforms/days_used_window.h"
#include "host/data/settings_store.h"
#include "host/user/login_dialog.h"
#include "host/user/user_log_window.h"
#include "reports/frm_chart.h"
#include "reports/frm_report.h"
#include "reports/install_reports.h"
#include "claimwork/install_claim_work.h"
#include "support/accessible_names.h"
#include "support/demo_db.h"
#include "support/worklist/worklist_window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::IsEmpty;

class AccessibleNamesTest : public WorklistWindowTest {};

TEST_F(AccessibleNamesTest, EveryWindowNamesEveryControl)
{
    ASSERT_TRUE(start(sharedDemoDb()));
    installClaimWork(*window);
    installBatchUpdate(*window);
    installReports(*window);
    installPhilHealthCodes(*window);
    window->txtStartDate->setText("11/01/2026");
    window->txtEndDate->setText("11/30/2026");
    EXPECT_THAT(unnamedControls(*window), IsEmpty());

    window->cmdBatchUpdate->click();
    EXPECT_THAT(unnamedControls(*batchUpdateWindow(*window)), IsEmpty());
    window->mAccomplismentReport->trigger();
    EXPECT_THAT(unnamedControls(*reportWindow(*window)), IsEmpty());
    window->mChart->trigger();
    EXPECT_THAT(unnamedControls(*chartWindow(*window)), IsEmpty());
    window->mPhilHealthCodes->trigger();
    EXPECT_THAT(unnamedControls(*philHealthCodesWindow(*window)), IsEmpty());

    TempDir logins;
    SettingsStore store{logins.path()};
    LoginDialog login(store, logins.path(), "21");
    EXPECT_THAT(unnamedControls(login), IsEmpty());
    UserLogWindow log;
    EXPECT_THAT(unnamedControls(log), IsEmpty());

    // The claim-form library's windows.
    BuiltinClaimFormClasses library(*user);
    library.UseClasses(true);
    library.InitWithDB();
    auto form = std::static_pointer_cast<BuiltinClaimForm>(library.clsCF4());
    form->IDNUM(user->sqlconnection().execute("SELECT TOP 1 IDNum FROM Patient_Data..tbPatient").text(0, 0));
    form->nonmodal(true);
    form->showEntry();
    ASSERT_NE(form->entryWindow(), nullptr);
    EXPECT_THAT(unnamedControls(*form->entryWindow()), IsEmpty());
    library.SetPatient(user->sqlconnection().execute("SELECT TOP 1 HospNum FROM Patient_Data..tbPatient").text(0, 0),
                       form->IDNUM(), QString(), false);
    library.insurance().ShowForm();
    for (QWidget* open : library.openWindows()) {
        if (auto* days = qobject_cast<DaysUsedWindow*>(open)) {
            EXPECT_THAT(unnamedControls(*days), IsEmpty());
        }
    }
}

} // namespace
} // namespace vantik::test
