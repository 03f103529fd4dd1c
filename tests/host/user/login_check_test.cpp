#include "host/data/connection.h"
#include "host/demodata/password_hash.h"
#include "host/user/login_check.h"
#include "support/demo_db.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace vantik;

namespace {

class LoginCheckTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_connection = Connection::openEmbedded(test::sharedDemoDb()); }
    static void TearDownTestSuite() { s_connection.reset(); }

    LoginCheck check(const QString& user, const QString& password, const QString& dept = "21")
    {
        return checkUserPassword(*s_connection, user, password, dept);
    }

    static std::unique_ptr<Connection> s_connection;
};

std::unique_ptr<Connection> LoginCheckTest::s_connection;

} // namespace

TEST_F(LoginCheckTest, RightPasswordInTheDepartmentIsAccepted)
{
    const LoginCheck clerk = check("clerk", "clerk123");
    EXPECT_EQ(clerk.outcome, LoginOutcome::Accepted);
    EXPECT_TRUE(clerk.message.isEmpty());
    EXPECT_EQ(clerk.userName, "clerk");
    EXPECT_FALSE(clerk.displayName.isEmpty());
    EXPECT_EQ(check("lbautista", "bautista2026").outcome, LoginOutcome::Accepted);
    // The user name is found as SQL Server finds it: any letter case, trailing blanks.
    EXPECT_EQ(check("CLERK ", "clerk123").userName, "clerk");
    // No department asked for: any department will do.
    EXPECT_EQ(check("admin", "admin2026", "").outcome, LoginOutcome::Accepted);
}

TEST_F(LoginCheckTest, WrongPasswordAndUnknownUserAreRefusedAlike)
{
    for (const auto& [user, password] : std::vector<std::pair<QString, QString>>{
             {"clerk", "clerk124"}, {"clerk", "CLERK123"}, {"clerk", ""}, {"clerk", "clerk123 "},
             {"nobody", "clerk123"}, {"", "clerk123"}}) {
        const LoginCheck result = check(user, password);
        EXPECT_EQ(result.outcome, LoginOutcome::Refused) << user.toStdString() << "/" << password.toStdString();
        EXPECT_EQ(result.message, kRefusedLoginMessage);
        EXPECT_TRUE(result.userName.isEmpty());
        // Only the record of log-ins learns whether the name exists.
        EXPECT_EQ(result.knownUser, user == "clerk" ? "clerk" : "");
    }
}

TEST_F(LoginCheckTest, QuotesInTheUserNameStayInsideTheLiteral)
{
    EXPECT_EQ(check("O'Brien", "x").outcome, LoginOutcome::Refused);
    EXPECT_EQ(check("x' OR '1'='1", "clerk123").outcome, LoginOutcome::Refused);
    EXPECT_EQ(check("clerk'--", "clerk123").outcome, LoginOutcome::Refused);
}

TEST_F(LoginCheckTest, OtherDepartmentIsRefusedInTheWordsOfAWrongPassword)
{
    const LoginCheck garcia = check("agarcia", "garcia2026");
    EXPECT_EQ(garcia.outcome, LoginOutcome::WrongDepartment);
    EXPECT_EQ(garcia.message, kRefusedLoginMessage);
    EXPECT_TRUE(garcia.userName.isEmpty());
    EXPECT_EQ(check("agarcia", "wrong").outcome, LoginOutcome::Refused);
    EXPECT_EQ(check("agarcia", "garcia2026", "05").outcome, LoginOutcome::Accepted);
    EXPECT_EQ(check("admin", "admin2026").outcome, LoginOutcome::WrongDepartment);
}

TEST(PasswordStrengthening, AWeakStoredHashIsRaisedAtTheNextLogIn)
{
    test::TempDir folder;
    const auto connection = Connection::openEmbedded(test::copyOfDemoDb(folder.path()));
    // A hash stored before the cost was raised.
    const std::string weak = pbkdf2Sha256Hex("clerk123", "0011", 1000);
    connection->executeNative("UPDATE Build_File.tbcoUsers SET PasswordSalt = '0011', PasswordHash = ?, "
                              "Iterations = 1000 WHERE UserName = 'clerk'",
                              {QString::fromStdString(weak)});
    const LoginCheck before = checkUserPassword(*connection, "clerk", "clerk123", "21");
    ASSERT_EQ(before.outcome, LoginOutcome::Accepted);
    EXPECT_TRUE(before.weakHash);

    strengthenPasswordHash(*connection, "clerk", "clerk123");
    const ResultSet stored = connection->execute(
        "SELECT Iterations, PasswordSalt, PasswordHash FROM Build_File..tbcoUsers WHERE UserName = 'clerk'");
    EXPECT_EQ(stored.text(0, 0).toInt(), kPasswordIterations);
    EXPECT_NE(stored.text(0, 1), "0011");
    EXPECT_NE(stored.text(0, 2).toStdString(), weak);
    const LoginCheck after = checkUserPassword(*connection, "clerk", "clerk123", "21");
    EXPECT_EQ(after.outcome, LoginOutcome::Accepted);
    EXPECT_FALSE(after.weakHash);
    EXPECT_EQ(checkUserPassword(*connection, "clerk", "clerk1234", "21").outcome, LoginOutcome::Refused);
}
