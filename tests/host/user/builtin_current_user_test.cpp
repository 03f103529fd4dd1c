#include "host/component_error.h"
#include "host/data/connection.h"
#include "host/data/settings_store.h"
#include "host/demodata/password_hash.h"
#include "host/user/builtin_components.h"
#include "host/user/builtin_current_user.h"
#include "host/user/component_registry.h"
#include "host/user/login_dialog.h"
#include "login_driver.h"
#include "support/demo_db.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantik;

namespace {

// A program folder with the demo database beside the executable, as an install has it.
class CurrentUserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(m_dir.file("app/demo-db")));
        test::copyOfDemoDb(m_dir.file("app/demo-db"));
        m_user.setexepath(m_dir.file("app"));
        m_user.PasswordDeptCode("21");
    }

    test::TempDir m_dir;
    SettingsStore m_settings{m_dir.file("settings")};
    BuiltinCurrentUser m_user{m_settings, m_dir.file("logs")};
};

} // namespace

TEST_F(CurrentUserTest, ShowMainLogsInOnTheDatabaseBesideTheProgram)
{
    EXPECT_FALSE(m_user.Connected());
    QString offeredFolder;
    test::whenLoginDialogShows([&](LoginDialog& dialog) {
        offeredFolder = QDir::fromNativeSeparators(dialog.findChild<QLineEdit*>("txtFolder")->text());
        test::logIn(dialog, "Clerk", "clerk123");
    });
    m_user.ShowMain();
    EXPECT_EQ(offeredFolder, m_dir.file("app/demo-db"));
    ASSERT_TRUE(m_user.Connected());
    EXPECT_EQ(m_user.userName(), "clerk");
    EXPECT_EQ(m_user.sqlconnection().execute("SELECT DeptCode FROM Build_File..tbcoUsers WHERE UserName = 'clerk'")
                  .text(0, 0),
              "21");
    EXPECT_TRUE(m_user.logFilePath().endsWith("/clerk.log"));
}

TEST_F(CurrentUserTest, CancelOrThreeWrongPasswordsLeaveItUnconnected)
{
    test::whenLoginDialogShows([](LoginDialog& dialog) { test::click(dialog, "cmdCancel"); });
    m_user.ShowMain();
    EXPECT_FALSE(m_user.Connected());

    test::whenLoginDialogShows([](LoginDialog& dialog) {
        for (int i = 0; i < LoginDialog::kMaximumRefusals; ++i)
            test::logIn(dialog, "clerk", QStringLiteral("guess%1").arg(i));
    });
    m_user.ShowMain();
    EXPECT_FALSE(m_user.Connected());
    EXPECT_TRUE(m_user.userName().isEmpty());

    test::whenLoginDialogShows([](LoginDialog& dialog) {
        test::typeInto(dialog, "txtUserName", "clerk");
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    m_user.ShowMain();
    EXPECT_FALSE(m_user.Connected());
}

TEST_F(CurrentUserTest, AStrongerPasswordHashThatCannotBeSavedIsToldOnceAndTheLogInStands)
{
    {
        // A hash stored before the cost was raised, in a users table the log-in
        // may read but not change.
        const auto database = Connection::openEmbedded(m_dir.file("app/demo-db"));
        database->executeNative("UPDATE Build_File.tbcoUsers SET PasswordSalt = '0011', PasswordHash = ?, "
                                "Iterations = 1000 WHERE UserName = 'clerk'",
                                {QString::fromStdString(pbkdf2Sha256Hex("clerk123", "0011", 1000))});
        database->executeNative("CREATE TRIGGER Build_File.tbcoUsersDenied BEFORE UPDATE ON tbcoUsers BEGIN SELECT "
                                "RAISE(ABORT, 'The UPDATE permission was denied on the object tbcoUsers.'); END",
                                {});
    }
    test::whenLoginDialogShows([](LoginDialog& dialog) { test::logIn(dialog, "clerk", "clerk123"); });
    m_user.ShowMain();
    ASSERT_TRUE(m_user.Connected());
    QFile log(m_user.logFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString lines = QString::fromUtf8(log.readAll());
    EXPECT_EQ(lines.count("Your password could not be stored with the stronger protection"), 1) << lines.toStdString();
    EXPECT_TRUE(lines.contains("The UPDATE permission was denied on the object tbcoUsers.")) << lines.toStdString();
    ASSERT_NE(m_user.logWindow(), nullptr);
    EXPECT_TRUE(m_user.logWindow()->isVisible());
}

TEST_F(CurrentUserTest, WithoutLogInThereIsNoConnection)
{
    try {
        m_user.sqlconnection();
        FAIL() << "sqlconnection gave a connection without a log-in";
    } catch (const ComponentError& error) {
        EXPECT_EQ(error.description(), "Not logged in: there is no database connection.");
    }
}

TEST(BuiltinComponents, TheCurrentUserIsRegisteredUnderItsProgId)
{
    test::TempDir dir;
    SettingsStore settings(dir.path());
    ComponentRegistry registry;
    registerBuiltinComponents(registry, settings);
    const auto user = registry.create(QString(kCurrentUserProgId).toUpper());
    ASSERT_NE(dynamic_cast<BuiltinCurrentUser*>(user.get()), nullptr);
    EXPECT_FALSE(user->Connected());
    EXPECT_NE(registry.create(kCurrentUserProgId), user); // a new component on every call
}
