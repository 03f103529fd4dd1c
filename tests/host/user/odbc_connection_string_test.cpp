#include "host/user/odbc_connection_string.h"
#include "host/user/odbc_drivers.h"


#include <functional>

#include <gtest/gtest.h>

using namespace vantik;

namespace {

OdbcLogin freeTdsLogin()
{
    OdbcLogin login;
    login.server = QStringLiteral("host");
    login.login = QStringLiteral("u");
    login.password = QStringLiteral("p");
    return login;
}

} // namespace

TEST(OdbcConnectionString, EachChoiceOfDriverServerLogInAndEncryption)
{
    const QString driver18 = "ODBC Driver 18 for SQL Server";
    const struct {
        const char* what;
        std::function<void(OdbcLogin&)> choose;
        const char* expected;
    } cases[] = {
        {"FreeTDS", [](OdbcLogin&) {},
         "DRIVER={FreeTDS};SERVER=host;PORT=1433;DATABASE=Patient_Data;UID=u;PWD=p;"
         "TDS_Version=7.4;ClientCharset=UTF-8;"},
        {"FreeTDS to a named instance",
         [](OdbcLogin& l) {
             l.server = "host\\HIS";
             l.encrypt = OdbcEncrypt::Yes;
         },
         "DRIVER={FreeTDS};SERVER=host\\HIS;DATABASE=Patient_Data;UID=u;PWD=p;Encryption=require;"
         "TDS_Version=7.4;ClientCharset=UTF-8;"},
        {"FreeTDS, Windows log-in, no encryption",
         [](OdbcLogin& l) {
             l.windowsAuthentication = true;
             l.encrypt = OdbcEncrypt::No;
             l.trustServerCertificate = true;
         },
         "DRIVER={FreeTDS};SERVER=host;PORT=1433;DATABASE=Patient_Data;Trusted_Connection=yes;Encryption=off;"
         "TDS_Version=7.4;ClientCharset=UTF-8;"},
        {"Driver 18, the port in the server name",
         [&](OdbcLogin& l) {
             l.driver = driver18;
             l.port = 14330;
         },
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER=host,14330;DATABASE=Patient_Data;UID=u;PWD=p;"},
        {"Driver 18, a port typed with the server wins",
         [&](OdbcLogin& l) {
             l.driver = driver18;
             l.server = "host,14331";
         },
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER=host,14331;DATABASE=Patient_Data;UID=u;PWD=p;"},
        {"Driver 18, named instance, strict, trusted certificate",
         [&](OdbcLogin& l) {
             l.driver = driver18;
             l.server = "host\\SQLEXPRESS";
             l.encrypt = OdbcEncrypt::Strict;
             l.trustServerCertificate = true;
         },
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER=host\\SQLEXPRESS;DATABASE=Patient_Data;UID=u;PWD=p;"
         "Encrypt=strict;TrustServerCertificate=yes;"},
        {"Driver 17, Windows log-in",
         [](OdbcLogin& l) {
             l.driver = "ODBC Driver 17 for SQL Server";
             l.windowsAuthentication = true;
             l.encrypt = OdbcEncrypt::Yes;
         },
         "DRIVER={ODBC Driver 17 for SQL Server};SERVER=host,1433;DATABASE=Patient_Data;Trusted_Connection=yes;"
         "Encrypt=yes;"},
        {"a DSN keeps its own driver, server and encryption",
         [](OdbcLogin& l) {
             l.dsn = "HIS";
             l.encrypt = OdbcEncrypt::No;
             l.trustServerCertificate = true;
         },
         "DSN=HIS;UID=u;PWD=p;"},
        {"a DSN with a Windows log-in",
         [](OdbcLogin& l) {
             l.dsn = "Hospital;HIS";
             l.windowsAuthentication = true;
         },
         "DSN={Hospital;HIS};Trusted_Connection=yes;"},
        {"a driver name that must be escaped", [](OdbcLogin& l) { l.driver = "Odd}Driver"; },
         "DRIVER={Odd}}Driver};SERVER=host,1433;DATABASE=Patient_Data;UID=u;PWD=p;"},
    };
    for (const auto& c : cases) {
        OdbcLogin login = freeTdsLogin();
        c.choose(login);
        EXPECT_EQ(odbcConnectionString(login).toStdString(), c.expected) << c.what;
    }
}

TEST(OdbcConnectionString, StrictEncryptionIsRefusedOnlyWhereTheDriverCannotDoIt)
{
    OdbcLogin login = freeTdsLogin();
    login.encrypt = OdbcEncrypt::Strict;
    EXPECT_TRUE(odbcLoginProblem(login).contains("FreeTDS cannot encrypt strictly"));
    login.driver = "ODBC Driver 18 for SQL Server";
    EXPECT_TRUE(odbcLoginProblem(login).isEmpty());
    login.driver = "FreeTDS";
    login.dsn = "HIS"; // its driver is the DSN's
    EXPECT_TRUE(odbcLoginProblem(login).isEmpty());
    login.encrypt = OdbcEncrypt::Yes;
    EXPECT_TRUE(odbcLoginProblem(freeTdsLogin()).isEmpty());

    for (const OdbcEncrypt e : {OdbcEncrypt::DriverDefault, OdbcEncrypt::Yes, OdbcEncrypt::No, OdbcEncrypt::Strict})
        EXPECT_EQ(odbcEncryptFromText(odbcEncryptText(e)), e);
    EXPECT_EQ(odbcEncryptFromText("sometimes"), OdbcEncrypt::DriverDefault);
}

TEST(OdbcConnectionString, ValuesThatCouldBeMisreadAreBraced)
{
    EXPECT_EQ(odbcAttributeValue("plain"), "plain");
    EXPECT_EQ(odbcAttributeValue("a{b=c"), "a{b=c");
    EXPECT_EQ(odbcAttributeValue("a;b"), "{a;b}");
    EXPECT_EQ(odbcAttributeValue("x}y"), "{x}}y}");
    EXPECT_EQ(odbcAttributeValue("{abc"), "{{abc}");
    EXPECT_EQ(odbcAttributeValue(" lead"), "{ lead}");
    EXPECT_EQ(odbcAttributeValue("trail "), "{trail }");
    EXPECT_EQ(odbcAttributeValue(""), "");

    OdbcLogin login = freeTdsLogin();
    login.login = QStringLiteral("dom;user");
    login.password = QStringLiteral(" p;w}d");
    const QString text = odbcConnectionString(login);
    EXPECT_TRUE(text.contains("UID={dom;user};PWD={ p;w}}d};")) << text.toStdString();
}

TEST(OdbcDrivers, TheDriverManagerListsTheInstalledDriversWithoutItsOptions)
{
    // scripts/setup.sh installs the SQLite ODBC driver the ODBC tests use.
    const QStringList names = odbcDriverNames();
    EXPECT_TRUE(names.contains("SQLite3")) << names.join(", ").toStdString();
    EXPECT_FALSE(names.contains("ODBC", Qt::CaseInsensitive));
}
