#include "host/data/settings_store.h"
#include "host/user/login_settings.h"
#include "support/temp_dir.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vantik;

TEST(LoginSettings, TheDemoDatabaseBesideOrAboveTheProgramIsOffered)
{
    test::TempDir dir;
    const QString exe = dir.file("install/bin");
    ASSERT_TRUE(QDir().mkpath(exe));
    // Neither exists: where the demo script makes it, above the build folder.
    EXPECT_EQ(defaultEmbeddedFolder(exe), dir.file("install/demo-db"));
    ASSERT_TRUE(QDir().mkpath(dir.file("install/demo-db")));
    EXPECT_EQ(defaultEmbeddedFolder(exe), dir.file("install/demo-db"));
    ASSERT_TRUE(QDir().mkpath(dir.file("install/bin/demo-db")));
    EXPECT_EQ(defaultEmbeddedFolder(exe), dir.file("install/bin/demo-db"));
}

// The dialog tests cover what the clerk types; here the defaults and damaged values.
TEST(LoginSettings, DefaultsAndDamagedValues)
{
    test::TempDir dir;
    SettingsStore store(dir.path());
    const LoginChoices fresh = loadLoginChoices(store, dir.file("bin"));
    EXPECT_EQ(fresh.backend, DatabaseBackend::Embedded);
    EXPECT_EQ(fresh.folder, dir.file("demo-db"));
    EXPECT_EQ(fresh.odbc.driver, "FreeTDS");
    EXPECT_EQ(fresh.odbc.port, 1433);
    EXPECT_TRUE(fresh.userName.isEmpty());

    LoginChoices choices = fresh;
    choices.odbc.port = 14330;
    choices.odbc.dsn = "HIS";
    choices.odbc.password = "never-stored";
    saveLoginChoices(store, choices);
    const LoginChoices read = loadLoginChoices(store, dir.file("bin"));
    EXPECT_EQ(read.odbc.port, 14330);
    EXPECT_EQ(read.odbc.dsn, "HIS");
    EXPECT_TRUE(read.odbc.password.isEmpty());

    for (const char* port : {"99999", "0", "abc"}) {
        store.write("VANTIK", "CurrentUser", "Port", port);
        EXPECT_EQ(loadLoginChoices(store, dir.file("bin")).odbc.port, 1433) << port;
    }
    store.write("VANTIK", "CurrentUser", "Backend", "Something else");
    EXPECT_EQ(loadLoginChoices(store, dir.file("bin")).backend, DatabaseBackend::Embedded);
}
