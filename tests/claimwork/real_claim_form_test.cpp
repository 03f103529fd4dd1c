#include "claimwork/install_claim_work.h"
#include "host/claimforms/builtin_claim_form_classes.h"
#include "host/claimforms/claim_form_classes.h"
#include "host/claimforms/claim_form_window.h"
#include "host/data/connection.h"
#include "host/data/settings_store.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_loop.h"
#include "host/user/builtin_components.h"
#include "host/user/component_registry.h"
#include "host/user/current_user.h"
#include "host/user/login_dialog.h"
#include "host/user/login_driver.h"
#include "support/demo_db.h"
#include "support/fake_host.h"
#include "support/scripted_message_box.h"
#include "support/temp_dir.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/worklist_columns.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace vantik::test {
namespace {

/// The program as the clerk meets it: the built-in log-in and claim-form library,
/// logged in as the demo clerk on a database folder.
struct RealProgram {
    RealProgram(const QString& database, MessageLoop& messageLoop)
        : window(WorklistServices{registry, settings, messages, messageLoop, clock, folder.path()})
    {
        registerBuiltinComponents(registry, settings);
        installClaimWork(window);
        // The dialog shows later, in load(): keep a copy of the folder's name.
        whenLoginDialogShows([database](LoginDialog& dialog) {
            typeInto(dialog, "txtFolder", database);
            logIn(dialog, "clerk", "clerk123");
        });
    }

    TempDir folder;
    SettingsStore settings{folder.path()};
    ComponentRegistry registry;
    ScriptedMessageBox messages;
    FixedClock clock{QDate(2026, 11, 30)};
    FrmClaimWorklist window;
};

TEST(RealClaimForm, TheClerkOpensAClaimFormFromTheListAndVerifiesIt)
{
    TempDir database;
    ScriptedMessageLoop messageLoop;
    RealProgram program(copyOfDemoDb(database.path()), messageLoop);
    FrmClaimWorklist& window = program.window;
    ScriptedMessageBox& messages = program.messages;
    ASSERT_TRUE(window.load());
    window.txtStartDate->setText("11/01/2026");
    window.txtEndDate->setText("11/30/2026");
    window.chkUnverifiedOnly->setChecked(true);
    window.cmdRefresh->click();

    // The first listed claim form that is complete.
    ClaimFormClasses& library = window.pclsUser->VODURIZevevar();
    int row = 1;
    for (; row < window.Grid1->rowCount(); ++row) {
        auto form = library.clsCF4();
        form->IDNUM(window.Grid1->text(row, worklist::IdNum));
        if (form->ValidateRequirements())
            break;
    }
    ASSERT_LT(row, window.Grid1->rowCount()) << "the demo month has no complete, unverified claim form";
    const QString idNum = window.Grid1->text(row, worklist::IdNum);
    window.Grid1->setCurrent(row, 2);
    emit window.Grid1->cellDoubleClicked(row, 2);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();

    ClaimFormWindow* entry = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* candidate = qobject_cast<ClaimFormWindow*>(top); candidate && candidate->isVisible())
            entry = candidate;
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->windowTitle(), "CF4 Entries - " + idNum);
    entry->cmdMarkVerified->click();
    EXPECT_EQ(window.pclsUser->sqlconnection()
                  .execute("SELECT CF4VerifiedBy FROM Station..tbNurseProfile WHERE IDNum = '" + idNum + "'")
                  .text(0, 0),
              "CLERK");
    window.cmdRefresh->click(); // unverified only: the verified one has left the list
    for (int r = 1; r < window.Grid1->rowCount(); ++r)
        EXPECT_NE(window.Grid1->text(r, worklist::IdNum), idNum);
}

#ifdef Q_OS_LINUX
long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLong() * sysconf(_SC_PAGESIZE);
}
#endif

// Validating a list opens every listed claim form; the library keeps one window per
// admission and the pass closes it, so windows and memory do not pile up.
TEST(RealClaimForm, ValidatingTheListLeavesNoWindowsAndNoGrowth)
{
    QtMessageLoop messageLoop;
    RealProgram program(sharedDemoDb(), messageLoop);
    FrmClaimWorklist& window = program.window;
    ScriptedMessageBox& messages = program.messages;
    ASSERT_TRUE(window.load());
    window.txtStartDate->setText("01/01/2025");
    window.txtEndDate->setText("11/30/2026");
    window.cmdRefresh->click();
    const int rows = window.Grid1->rowCount() - 1;
    ASSERT_GE(rows, 100);

    auto& library = dynamic_cast<BuiltinClaimFormClasses&>(window.pclsUser->VODURIZevevar());
    window.Grid1->setCurrent(1, 1);
    window.cmdValidate[0]->click(); // the first window's one-off costs (fonts, styles)
#ifdef Q_OS_LINUX
    const long before = residentBytes();
#endif
    window.cmdValidate[1]->click();
    QApplication::processEvents();
    EXPECT_LE(library.openWindows().size(), 1u);
#if defined(Q_OS_LINUX) && !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed memory back (its quarantine), so there the bound
    // says nothing; the figure is read from /proc.
    EXPECT_LT(residentBytes() - before, 40L * 1024 * 1024) << "over " << rows << " rows";
#endif
    EXPECT_TRUE(messages.warned.isEmpty()) << messages.warned.join('\n').toStdString();
}

} // namespace
} // namespace vantik::test
