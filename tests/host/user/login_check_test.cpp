#include "host/data/connection.h"
#include "host/user/login_check.h"
#include "support/demo_db.h"

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
    }
}

TEST_F(LoginCheckTest, QuotesInTheUserNameStayInsideTheLiteral)
{
    EXPECT_EQ(check("O'Brien", "x").outcome, LoginOutcome::Refused);
    EXPECT_EQ(check("x' OR '1'='1", "clerk123").outcome, LoginOutcome::Refused);
    EXPECT_EQ(check("clerk'--", "clerk123").outcome, LoginOutcome::Refused);
}

TEST_F(LoginCheckTest, OtherDepartmentIsToldOnlyWithTheRightPassword)
{
    const LoginCheck garcia = check("agarcia", "garcia2026");
    EXPECT_EQ(garcia.outcome, LoginOutcome::WrongDepartment);
    EXPECT_TRUE(garcia.message.contains("does not belong to department 21")) << garcia.message.toStdString();
    EXPECT_EQ(check("agarcia", "wrong").outcome, LoginOutcome::Refused);
    EXPECT_EQ(check("agarcia", "garcia2026", "05").outcome, LoginOutcome::Accepted);
    EXPECT_EQ(check("admin", "admin2026").outcome, LoginOutcome::WrongDepartment);
}
