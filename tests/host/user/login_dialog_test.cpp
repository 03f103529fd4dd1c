#include "host/data/connection.h"
#include "host/data/settings_store.h"
#include "host/user/login_dialog.h"
#include "login_driver.h"
#include "support/demo_db.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantik;
using test::click;
using test::control;
using test::logIn;
using test::typeInto;

namespace {

class LoginDialogTest : public ::testing::Test {
protected:
    // A fresh settings store each test; the program folder holds no demo-db, so the
    // dialog proposes <exe>/../demo-db until a folder is typed.
    std::unique_ptr<LoginDialog> openDialog(const QString& dept = "21")
    {
        auto dialog = std::make_unique<LoginDialog>(m_settings, m_dir.file("bin"), dept);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    QString settingsText() const
    {
        QFile file(m_dir.file("settings/VANTIK.ini"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    test::TempDir m_dir;
    SettingsStore m_settings{m_dir.file("settings")};
};

template <typename W>
W* as(QWidget& dialog, const char* name)
{
    return qobject_cast<W*>(control(dialog, name));
}

} // namespace

TEST_F(LoginDialogTest, ControlsAreNamedLabelledAndReachableByKeyboard)
{
    auto dialog = openDialog();
    EXPECT_EQ(dialog->windowTitle(), "Log In");
    EXPECT_TRUE(as<QPushButton>(*dialog, "cmdOK")->isDefault());
    EXPECT_NEAR(dialog->width(), 420, 120);
    EXPECT_NEAR(dialog->height(), 380, 120);
    const std::pair<const char*, const char*> labelled[] = {
        {"lblFolder", "txtFolder"},     {"lblDriver", "cboDriver"},       {"lblServer", "txtServer"},
        {"lblPort", "spnPort"},         {"lblDsn", "txtDsn"},             {"lblSqlLogin", "txtSqlLogin"},
        {"lblSqlPassword", "txtSqlPassword"}, {"lblUserName", "txtUserName"}, {"lblPassword", "txtPassword"},
        {"lblEncrypt", "cboEncrypt"}};
    QSet<QChar> accessKeys;
    for (const auto& [label, buddy] : labelled) {
        auto* text = as<QLabel>(*dialog, label);
        ASSERT_NE(text, nullptr) << label;
        EXPECT_EQ(text->buddy(), control(*dialog, buddy)) << label;
        const qsizetype amp = text->text().indexOf('&');
        ASSERT_GE(amp, 0) << label << " has no access key";
        EXPECT_FALSE(accessKeys.contains(text->text().at(amp + 1).toLower())) << label << " repeats an access key";
        accessKeys.insert(text->text().at(amp + 1).toLower());
    }
    EXPECT_EQ(as<QLineEdit>(*dialog, "txtPassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(as<QLineEdit>(*dialog, "txtSqlPassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(as<QSpinBox>(*dialog, "spnPort")->value(), 1433);
    EXPECT_EQ(as<QComboBox>(*dialog, "cboDriver")->currentText(), "FreeTDS");
    // Nothing remembered yet: the program's demo database, and the user name first.
    EXPECT_TRUE(as<QRadioButton>(*dialog, "radEmbedded")->isChecked());
    EXPECT_EQ(QDir::fromNativeSeparators(as<QLineEdit>(*dialog, "txtFolder")->text()),
              QDir::cleanPath(m_dir.file("demo-db")));
    EXPECT_EQ(dialog->focusWidget(), control(*dialog, "txtUserName"));
}

TEST_F(LoginDialogTest, AFailedConnectionShowsTheDriversMessageAndCanBeRetried)
{
    auto dialog = openDialog();
    typeInto(*dialog, "txtFolder", m_dir.file("no-such-folder"));
    logIn(*dialog, "clerk", "clerk123");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->message().contains("does not exist")) << dialog->message().toStdString();
    EXPECT_TRUE(dialog->message().contains("no-such-folder"));

    typeInto(*dialog, "txtFolder", test::sharedDemoDb());
    logIn(*dialog, "clerk", "clerk123");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->login().userName, "clerk");
    const auto connection = dialog->takeConnection();
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->execute("SELECT count(1) FROM Build_File..tbcoUsers").text(0, 0), "6");
}

TEST_F(LoginDialogTest, ThreeRefusedPasswordsCloseTheDialog)
{
    auto dialog = openDialog();
    typeInto(*dialog, "txtFolder", test::sharedDemoDb());
    logIn(*dialog, "clerk", "wrong1");
    EXPECT_TRUE(dialog->message().startsWith("Unknown user or wrong password.")) << dialog->message().toStdString();
    EXPECT_TRUE(as<QLineEdit>(*dialog, "txtPassword")->text().isEmpty());
    // A user of another department is refused in the same words, and it counts:
    // a different answer would confirm the password to whoever is guessing.
    logIn(*dialog, "agarcia", "garcia2026");
    EXPECT_TRUE(dialog->message().startsWith("Unknown user or wrong password.")) << dialog->message().toStdString();
    EXPECT_EQ(dialog->refusals(), 2);
    EXPECT_TRUE(dialog->message().contains("1 try left")) << dialog->message().toStdString();
    logIn(*dialog, "no'body", "x");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->refusals(), 3);
}

TEST_F(LoginDialogTest, EveryAttemptIsRecordedWithoutThePassword)
{
    for (const auto& attempts : {QStringList{"clerk", "Wrong-Secret-1", "Typed-Secret-2", "x"},
                                 QStringList{"agarcia", "garcia2026", "x  accepted", "y"}}) {
        auto dialog = openDialog();
        dialog->recordLoginsIn(m_dir.file("logs"));
        typeInto(*dialog, "txtFolder", test::sharedDemoDb());
        // The second of each pair: a password typed into the user-name box, a name made to look like a line.
        logIn(*dialog, attempts[0], attempts[1]);
        logIn(*dialog, attempts[2], attempts[3]);
        logIn(*dialog, "CLERK", "clerk123");
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
    }
    QFile record(m_dir.file("logs/logins.record"));
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(record.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    const char* const endings[] = {
        "  \"clerk\"  refused (unknown user or wrong password)", "  unknown  refused (unknown user or wrong password)",
        "  \"clerk\"  accepted", // as the users table spells the name
        "  \"agarcia\"  refused (another department)",          "  unknown  refused (unknown user or wrong password)",
        "  \"clerk\"  accepted",
    };
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(lines[i].endsWith(endings[i])) << lines[i].toStdString();
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains("Secret") || line.contains("garcia2026") || line.contains("clerk123")
                     || line.contains("x  accepted"));
#ifdef Q_OS_UNIX
    EXPECT_EQ(record.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup
                                      | QFileDevice::WriteOther),
              QFileDevice::Permissions());
#endif
}

TEST_F(LoginDialogTest, AUserNameIsNeededBeforeConnecting)
{
    auto dialog = openDialog();
    logIn(*dialog, "", "clerk123");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->message(), "Type your user name.");
    EXPECT_EQ(dialog->refusals(), 0);
}

TEST_F(LoginDialogTest, ChoicesAreRememberedButNoPassword)
{
    {
        auto dialog = openDialog();
        click(*dialog, "radOdbc");
        EXPECT_FALSE(control(*dialog, "txtFolder")->isVisible());
        EXPECT_TRUE(control(*dialog, "txtServer")->isVisible());
        typeInto(*dialog, "cboDriver", "FreeTDS");
        typeInto(*dialog, "txtServer", "127.0.0.1");
        as<QSpinBox>(*dialog, "spnPort")->setValue(1); // nothing listens there: refused at once
        typeInto(*dialog, "txtSqlLogin", "his_reader");
        typeInto(*dialog, "txtSqlPassword", "SqlSecret-7");
        logIn(*dialog, "clerk", "UserSecret-9");
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->message().startsWith("Cannot connect to the database:")) << dialog->message().toStdString();
        EXPECT_GT(dialog->message().size(), QString("Cannot connect to the database: ").size());
    }
    // A log-in that did not succeed leaves nothing for the next start to offer.
    EXPECT_FALSE(settingsText().contains("[CurrentUser]")) << settingsText().toStdString();

    auto dialog = openDialog();
    EXPECT_TRUE(as<QRadioButton>(*dialog, "radEmbedded")->isChecked());
    EXPECT_TRUE(as<QLineEdit>(*dialog, "txtUserName")->text().isEmpty());
    click(*dialog, "radOdbc");

    // A DSN stands for driver, server and port.
    typeInto(*dialog, "txtDsn", "HIS");
    EXPECT_FALSE(control(*dialog, "txtServer")->isEnabled());
    EXPECT_FALSE(control(*dialog, "cboDriver")->isEnabled());
}

TEST_F(LoginDialogTest, EncryptionAndWindowsAuthenticationFollowDriverAndServer)
{
    auto dialog = openDialog();
    click(*dialog, "radOdbc");
    typeInto(*dialog, "cboDriver", "ODBC Driver 18 for SQL Server");
    typeInto(*dialog, "txtServer", "his-db\\HIS");
    EXPECT_FALSE(control(*dialog, "spnPort")->isEnabled()); // a named instance finds its own port
    EXPECT_TRUE(control(*dialog, "chkTrustServerCertificate")->isEnabled());
    click(*dialog, "chkWindowsAuthentication");
    EXPECT_FALSE(control(*dialog, "txtSqlLogin")->isEnabled());
    EXPECT_FALSE(control(*dialog, "txtSqlPassword")->isEnabled());
    auto* encrypt = as<QComboBox>(*dialog, "cboEncrypt");
    EXPECT_EQ(encrypt->currentText(), "Driver's default");
    encrypt->setCurrentIndex(encrypt->findText("strict"));
    const LoginChoices choices = dialog->choices();
    EXPECT_EQ(choices.odbc.encrypt, OdbcEncrypt::Strict);
    EXPECT_TRUE(choices.odbc.windowsAuthentication);
    EXPECT_EQ(choices.odbc.server, "his-db\\HIS");

    typeInto(*dialog, "cboDriver", "FreeTDS");
    EXPECT_FALSE(control(*dialog, "chkTrustServerCertificate")->isEnabled());
    logIn(*dialog, "clerk", "clerk123");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->message().startsWith("FreeTDS cannot encrypt strictly")) << dialog->message().toStdString();
    EXPECT_EQ(dialog->focusWidget(), encrypt);

    typeInto(*dialog, "txtDsn", "HIS"); // the DSN holds the encryption
    EXPECT_FALSE(encrypt->isEnabled());
    EXPECT_TRUE(control(*dialog, "chkWindowsAuthentication")->isEnabled());
}

TEST_F(LoginDialogTest, TheEmbeddedFolderIsRemembered)
{
    {
        auto dialog = openDialog();
        typeInto(*dialog, "txtFolder", test::sharedDemoDb());
        typeInto(*dialog, "txtUserName", "mreyes");
        typeInto(*dialog, "txtPassword", "reyes2026");
        QTest::keyClick(control(*dialog, "txtPassword"), Qt::Key_Return); // Enter logs in
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << dialog->message().toStdString();
    }
    EXPECT_FALSE(settingsText().contains("reyes2026"));
    {
        // A refused log-in of another clerk later does not replace what was kept.
        auto refused = openDialog();
        typeInto(*refused, "txtFolder", m_dir.file("elsewhere"));
        logIn(*refused, "jsantos", "wrong");
        refused->reject();
    }
    auto dialog = openDialog();
    EXPECT_TRUE(as<QRadioButton>(*dialog, "radEmbedded")->isChecked());
    EXPECT_EQ(QDir::fromNativeSeparators(as<QLineEdit>(*dialog, "txtFolder")->text()), test::sharedDemoDb());
    EXPECT_EQ(as<QLineEdit>(*dialog, "txtUserName")->text(), "mreyes");
}
