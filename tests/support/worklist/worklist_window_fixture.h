#pragma once

#include "host/data/settings_store.h"
#include "host/user/component_registry.h"
#include "support/fake_host.h"
#include "support/qt_printers.h"
#include "support/scripted_message_box.h"
#include "support/temp_dir.h"
#include "worklist/frm_claim_worklist.h"

#include <gtest/gtest.h>

#include <memory>

namespace vantik::test {

/// A main window over a fake current-user component, scripted message boxes,
/// throwaway settings and a fixed today (the demo data's last day).
class WorklistWindowTest : public ::testing::Test {
protected:
    /// Creates the window and runs its start-up; the fake logs in to folder.
    bool start(const QString& databaseFolder);
    QString stored(const QString& key) const;
    void store(const QString& key, const QString& value);

    TempDir settingsFolder;
    SettingsStore settings{settingsFolder.path()};
    ScriptedMessageBox messages;
    ScriptedMessageLoop messageLoop;
    /// The yield point the window gets: the scripted one unless a test sets another before start().
    MessageLoop* yieldPoint = &messageLoop;
    FixedClock clock{QDate(2026, 11, 30)};
    ComponentRegistry registry;
    FakeCurrentUser* user = nullptr; // owned by the window once created
    std::unique_ptr<FrmClaimWorklist> window;
};

} // namespace vantik::test
