#include "host/data/settings_store.h"
#include "host/user/login_settings.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QProcess>

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

// Installed, the folder above the program's is the system's (/usr): the log-in offers
// the clerk's own folder, the one vantik-demo-db fills when given none.
TEST(LoginSettings, AnInstalledProgramOffersTheFolderTheDemoToolMakes)
{
    test::TempDir dir;
    const QString bin = dir.file("usr/bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    // The variable naming the user's data folder, for the tool.
#ifdef Q_OS_WIN
    const char* const dataHomeVariable = "LOCALAPPDATA";
#else
    const char* const dataHomeVariable = "XDG_DATA_HOME";
#endif
    const QByteArray dataHome = qgetenv(dataHomeVariable);
    qputenv(dataHomeVariable, dir.file("data").toUtf8());
    QProcess tool;
    tool.start(QStringLiteral(VANTIK_DEMO_DB_EXE), {QStringLiteral("--admissions"), QStringLiteral("0")});
    const bool finished = tool.waitForFinished(60000);
    const QString installed = defaultEmbeddedFolder(bin, bin);
    const QString built = defaultEmbeddedFolder(bin, dir.file("elsewhere/bin"));
    if (dataHome.isNull())
        qunsetenv(dataHomeVariable);
    else
        qputenv(dataHomeVariable, dataHome);

    ASSERT_TRUE(finished && tool.exitCode() == 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(installed.toStdString(), dir.file("data/vantik/demo-db").toStdString());
    EXPECT_TRUE(QFile::exists(installed + "/Patient_Data.sqlite"));
    // Run from anywhere else, the program keeps offering the folder above its own.
    EXPECT_EQ(built.toStdString(), dir.file("usr/demo-db").toStdString());
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
    choices.odbc.encrypt = OdbcEncrypt::Strict;
    choices.odbc.trustServerCertificate = true;
    choices.odbc.windowsAuthentication = true;
    saveLoginChoices(store, choices);
    const LoginChoices read = loadLoginChoices(store, dir.file("bin"));
    EXPECT_EQ(read.odbc.port, 14330);
    EXPECT_EQ(read.odbc.dsn, "HIS");
    EXPECT_TRUE(read.odbc.password.isEmpty());
    EXPECT_EQ(read.odbc.encrypt, OdbcEncrypt::Strict);
    EXPECT_TRUE(read.odbc.trustServerCertificate);
    EXPECT_TRUE(read.odbc.windowsAuthentication);
    EXPECT_EQ(fresh.odbc.encrypt, OdbcEncrypt::DriverDefault);
    EXPECT_FALSE(fresh.odbc.windowsAuthentication);

    for (const char* port : {"99999", "0", "abc"}) {
        store.write("VANTIK", "CurrentUser", "Port", port);
        EXPECT_EQ(loadLoginChoices(store, dir.file("bin")).odbc.port, 1433) << port;
    }
    store.write("VANTIK", "CurrentUser", "Backend", "Something else");
    EXPECT_EQ(loadLoginChoices(store, dir.file("bin")).backend, DatabaseBackend::Embedded);
}
