#pragma once

#include "host/claimforms/builtin_claim_form_classes.h"
#include "host/data/connection.h"
#include "host/data/settings_store.h"
#include "support/demo_db.h"
#include "support/fake_host.h"
#include "support/scripted_message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace vantik::test {

/// The built-in claim-form library, started, on a copy of the demo database that
/// the test may change; the clerk is CLERK and it is 30 November 2026, 9:30.
class LibraryOnDemoCopy : public ::testing::Test {
protected:
    static inline const QDateTime kNow{QDate(2026, 11, 30), QTime(9, 30)};

    void SetUp() override
    {
        user.databaseFolder = copyOfDemoDb(folder.path());
        user.ShowMain();
        library.UseClasses(true);
        library.InitWithDB();
    }

    void exec(const QString& sql, const QVariantList& parameters = {})
    {
        user.sqlconnection().executeNative(sql, parameters);
    }
    QString one(const QString& tsql) { return user.sqlconnection().execute(tsql).text(0, 0); }
    int count(const QString& tsql) { return one(tsql).toInt(); }

    TempDir folder;
    TempDir settingsFolder;
    SettingsStore settings{settingsFolder.path()};
    ScriptedMessageBox messages;
    FakeCurrentUser user;
    QString chosenFolder; ///< what the folder chooser answers; empty: cancelled
    BuiltinClaimFormClasses library{ClaimFormEnvironment{user, [] { return QStringLiteral("CLERK"); },
                                                         [] { return kNow; }, &settings, &messages,
                                                         [this](QWidget*, const QString&) { return chosenFolder; }}};
};

} // namespace vantik::test
