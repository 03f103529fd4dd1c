#include "host/data/settings_store.h"
#include "host/ui/flex_grid_widget.h"
#include "host/user/builtin_components.h"
#include "host/user/component_registry.h"
#include "host/user/login_dialog.h"
#include "host/user/login_driver.h"
#include "support/demo_db.h"
#include "support/fake_host.h"
#include "support/scripted_message_box.h"
#include "support/temp_dir.h"
#include "worklist/frm_claim_worklist.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace vantik::test {
namespace {

// The program's own start: the built-in component, its log-in dialog and the
// demo database, as the clerk meets them.
class RealStart : public ::testing::Test {
protected:
    RealStart() { registerBuiltinComponents(registry, settings); }

    std::unique_ptr<FrmClaimWorklist> makeWindow()
    {
        return std::make_unique<FrmClaimWorklist>(
            WorklistServices{registry, settings, messages, messageLoop, clock, folder.path()});
    }

    TempDir folder;
    SettingsStore settings{folder.path()};
    ComponentRegistry registry;
    ScriptedMessageBox messages;
    ScriptedMessageLoop messageLoop;
    FixedClock clock{QDate(2026, 11, 30)};
};

TEST_F(RealStart, TheClerkLogsInAndListsTheMonth)
{
    auto window = makeWindow();
    whenLoginDialogShows([](LoginDialog& dialog) {
        typeInto(dialog, "txtFolder", sharedDemoDb());
        logIn(dialog, "clerk", "clerk123");
    });
    ASSERT_TRUE(window->load());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();

    window->txtStartDate->setText("11/01/2026");
    window->chkGETVitals->setChecked(true);
    window->cmdRefresh->click();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    EXPECT_GT(window->lblCount->text().toInt(), 0);
    EXPECT_EQ(window->Grid1->columnCount(), 24);
}

TEST_F(RealStart, CancelledLogInEndsWithoutAWord)
{
    auto window = makeWindow();
    whenLoginDialogShows([](LoginDialog& dialog) { click(dialog, "cmdCancel"); });
    EXPECT_FALSE(window->load());
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace vantik::test
