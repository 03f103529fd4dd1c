#include "host/user/odbc_connection_string.h"
#include "host/user/odbc_drivers.h"
#include "support/temp_dir.h"

#include <QFile>

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

TEST(OdbcConnectionString, FreeTdsGetsPortVersionAndCharset)
{
    EXPECT_EQ(odbcConnectionString(freeTdsLogin()),
              "DRIVER={FreeTDS};SERVER=host;PORT=1433;DATABASE=Patient_Data;UID=u;PWD=p;"
              "TDS_Version=7.4;ClientCharset=UTF-8;");
}

TEST(OdbcConnectionString, OtherDriversTakeThePortInTheServerAndNoFreeTdsExtras)
{
    OdbcLogin login = freeTdsLogin();
    login.driver = QStringLiteral("ODBC Driver 18 for SQL Server");
    login.port = 14330;
    EXPECT_EQ(odbcConnectionString(login),
              "DRIVER={ODBC Driver 18 for SQL Server};SERVER=host,14330;DATABASE=Patient_Data;UID=u;PWD=p;");
    login.driver = QStringLiteral("Odd}Driver");
    EXPECT_TRUE(odbcConnectionString(login).startsWith("DRIVER={Odd}}Driver};"));
}

TEST(OdbcConnectionString, DsnStandsForDriverServerAndPort)
{
    OdbcLogin login = freeTdsLogin();
    login.dsn = QStringLiteral("name");
    EXPECT_EQ(odbcConnectionString(login), "DSN=name;UID=u;PWD=p;");
    login.dsn = QStringLiteral("Hospital;HIS");
    EXPECT_EQ(odbcConnectionString(login), "DSN={Hospital;HIS};UID=u;PWD=p;");
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

TEST(OdbcDrivers, SectionNamesOfTheDriverListWithoutItsOptions)
{
    test::TempDir dir;
    QFile ini(dir.file("odbcinst.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[ODBC]\nTrace=No\n\n[FreeTDS]\nDriver=libtdsodbc.so\n\n"
              "[ODBC Driver 18 for SQL Server]\nDriver=/opt/msodbcsql18/lib64/libmsodbcsql-18.so\n");
    ini.close();
    EXPECT_EQ(odbcDriverNames(ini.fileName()), (QStringList{"FreeTDS", "ODBC Driver 18 for SQL Server"}));
    EXPECT_TRUE(odbcDriverNames(dir.file("missing.ini")).isEmpty());
}
