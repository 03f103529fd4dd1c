#include "host/user/login_dialog.h"

#include "host/component_error.h"
#include "host/data/connection.h"
#include "host/data/settings_store.h"
#include "host/data/table_rights.h"
#include "host/user/odbc_drivers.h"
#include "host/user/user_log_file.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vantik {

namespace {

// Opening a database can take seconds (a server far away, a large folder).
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

template <typename W>
W* named(W* widget, const char* objectName)
{
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy, const char* objectName)
{
    auto* label = named(new QLabel(text), objectName);
    label->setBuddy(buddy);
    return label;
}

} // namespace

LoginDialog::LoginDialog(SettingsStore& settings, const QString& exeFolder, const QString& deptCode,
                         QWidget* parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_deptCode(deptCode)
{
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QStringLiteral("Log In"));
    setModal(true);
    buildWidgets();
    setTabOrderChain();
    restore(loadLoginChoices(m_settings, exeFolder));
    resize(420, 380);
}

LoginDialog::~LoginDialog() = default;

void LoginDialog::buildWidgets()
{
    m_embedded = named(new QRadioButton(QStringLiteral("&Embedded database")), "radEmbedded");
    m_odbc = named(new QRadioButton(QStringLiteral("SQL Server (&ODBC)")), "radOdbc");

    auto* embeddedPage = named(new QWidget, "pageEmbedded");
    m_folder = named(new QLineEdit, "txtFolder");
    m_browse = named(new QPushButton(QStringLiteral("&Browse…")), "cmdBrowse");
    m_browse->setAutoDefault(false);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_browse);
    auto* embeddedForm = new QFormLayout(embeddedPage);
    embeddedForm->setContentsMargins(0, 0, 0, 0);
    embeddedForm->addRow(buddyLabel(QStringLiteral("&Folder:"), m_folder, "lblFolder"), folderRow);

    auto* odbcPage = named(new QWidget, "pageOdbc");
    m_driver = named(new QComboBox, "cboDriver");
    m_driver->setEditable(true);
    m_driver->addItems(odbcDriverNames());
    m_server = named(new QLineEdit, "txtServer");
    m_port = named(new QSpinBox, "spnPort");
    m_port->setRange(1, 65535);
    m_port->setValue(1433);
    auto* serverRow = new QHBoxLayout;
    serverRow->addWidget(m_server, 1);
    serverRow->addWidget(buddyLabel(QStringLiteral("Po&rt:"), m_port, "lblPort"));
    serverRow->addWidget(m_port);
    m_dsn = named(new QLineEdit, "txtDsn");
    m_dsn->setPlaceholderText(QStringLiteral("instead of driver and server"));
    m_encrypt = named(new QComboBox, "cboEncrypt");
    m_encrypt->addItem(QStringLiteral("Driver's default"), static_cast<int>(OdbcEncrypt::DriverDefault));
    for (const OdbcEncrypt e : {OdbcEncrypt::Yes, OdbcEncrypt::No, OdbcEncrypt::Strict})
        m_encrypt->addItem(odbcEncryptText(e), static_cast<int>(e));
    m_trustCertificate = named(new QCheckBox(QStringLiteral("&Trust server certificate")), "chkTrustServerCertificate");
    auto* encryptRow = new QHBoxLayout;
    encryptRow->addWidget(m_encrypt);
    encryptRow->addWidget(m_trustCertificate, 1);
    m_windowsAuthentication =
        named(new QCheckBox(QStringLiteral("W&indows authentication")), "chkWindowsAuthentication");
    m_sqlLogin = named(new QLineEdit, "txtSqlLogin");
    m_sqlPassword = named(new QLineEdit, "txtSqlPassword");
    m_sqlPassword->setEchoMode(QLineEdit::Password);
    auto* odbcForm = new QFormLayout(odbcPage);
    odbcForm->setContentsMargins(0, 0, 0, 0);
    odbcForm->addRow(buddyLabel(QStringLiteral("&Driver:"), m_driver, "lblDriver"), m_driver);
    odbcForm->addRow(buddyLabel(QStringLiteral("&Server:"), m_server, "lblServer"), serverRow);
    odbcForm->addRow(buddyLabel(QStringLiteral("DS&N:"), m_dsn, "lblDsn"), m_dsn);
    odbcForm->addRow(buddyLabel(QStringLiteral("En&crypt:"), m_encrypt, "lblEncrypt"), encryptRow);
    odbcForm->addRow(QString(), m_windowsAuthentication);
    odbcForm->addRow(buddyLabel(QStringLiteral("SQL &login:"), m_sqlLogin, "lblSqlLogin"), m_sqlLogin);
    odbcForm->addRow(buddyLabel(QStringLiteral("SQL pass&word:"), m_sqlPassword, "lblSqlPassword"), m_sqlPassword);

    m_backendPages = named(new QStackedWidget, "stkBackend");
    m_backendPages->addWidget(embeddedPage);
    m_backendPages->addWidget(odbcPage);

    auto* database = named(new QGroupBox(QStringLiteral("Database")), "grpDatabase");
    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(m_embedded);
    choiceRow->addWidget(m_odbc);
    choiceRow->addStretch(1);
    auto* databaseLayout = new QVBoxLayout(database);
    databaseLayout->addLayout(choiceRow);
    databaseLayout->addWidget(m_backendPages);

    m_userName = named(new QLineEdit, "txtUserName");
    m_password = named(new QLineEdit, "txtPassword");
    m_password->setEchoMode(QLineEdit::Password);
    auto* user = named(new QGroupBox(QStringLiteral("User")), "grpUser");
    auto* userForm = new QFormLayout(user);
    userForm->addRow(buddyLabel(QStringLiteral("&User name:"), m_userName, "lblUserName"), m_userName);
    userForm->addRow(buddyLabel(QStringLiteral("&Password:"), m_password, "lblPassword"), m_password);

    m_message = named(new QLabel, "lblMessage");
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->setMinimumHeight(2 * m_message->fontMetrics().lineSpacing());
    m_message->setStyleSheet(QStringLiteral("color: #b00020;"));

    // Own buttons rather than standard ones: a theme's "&OK" would clash with Alt+O.
    m_ok = named(new QPushButton(QStringLiteral("OK")), "cmdOK");
    m_cancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    m_ok->setDefault(true);
    auto* buttons = named(new QDialogButtonBox, "buttons");
    buttons->addButton(m_ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(database);
    layout->addWidget(user);
    layout->addWidget(m_message, 1);
    layout->addWidget(buttons);

    connect(m_embedded, &QRadioButton::toggled, this, &LoginDialog::updateBackend);
    connect(m_dsn, &QLineEdit::textChanged, this, &LoginDialog::updateBackend);
    connect(m_server, &QLineEdit::textChanged, this, &LoginDialog::updateBackend);
    connect(m_driver, &QComboBox::currentTextChanged, this, &LoginDialog::updateBackend);
    connect(m_windowsAuthentication, &QCheckBox::toggled, this, &LoginDialog::updateBackend);
    connect(m_browse, &QPushButton::clicked, this, &LoginDialog::browseFolder);
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::attemptLogin);
    connect(buttons, &QDialogButtonBox::rejected, this, &LoginDialog::reject);
}

void LoginDialog::setTabOrderChain()
{
    // Top to bottom; the page of the backend not chosen is hidden and skipped.
    QWidget* const chain[] = {m_embedded, m_odbc,     m_folder,      m_browse,   m_driver,           m_server,
                              m_port,     m_dsn,      m_encrypt,     m_trustCertificate, m_windowsAuthentication,
                              m_sqlLogin, m_sqlPassword, m_userName, m_password, m_ok,   m_cancel};
    for (std::size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void LoginDialog::restore(const LoginChoices& choices)
{
    (choices.backend == DatabaseBackend::Odbc ? m_odbc : m_embedded)->setChecked(true);
    m_folder->setText(QDir::toNativeSeparators(choices.folder));
    m_driver->setCurrentText(choices.odbc.driver);
    m_server->setText(choices.odbc.server);
    m_port->setValue(choices.odbc.port);
    m_dsn->setText(choices.odbc.dsn);
    m_encrypt->setCurrentIndex(std::max(0, m_encrypt->findData(static_cast<int>(choices.odbc.encrypt))));
    m_trustCertificate->setChecked(choices.odbc.trustServerCertificate);
    m_windowsAuthentication->setChecked(choices.odbc.windowsAuthentication);
    m_sqlLogin->setText(choices.odbc.login);
    m_userName->setText(choices.userName);
    updateBackend();
    (choices.userName.isEmpty() ? m_userName : m_password)->setFocus();
}

LoginChoices LoginDialog::choices() const
{
    LoginChoices choices;
    choices.backend = m_odbc->isChecked() ? DatabaseBackend::Odbc : DatabaseBackend::Embedded;
    choices.folder = QDir::fromNativeSeparators(m_folder->text().trimmed());
    choices.odbc.driver = m_driver->currentText().trimmed();
    choices.odbc.server = m_server->text().trimmed();
    choices.odbc.port = m_port->value();
    choices.odbc.dsn = m_dsn->text().trimmed();
    choices.odbc.encrypt = static_cast<OdbcEncrypt>(m_encrypt->currentData().toInt());
    choices.odbc.trustServerCertificate = m_trustCertificate->isChecked();
    choices.odbc.windowsAuthentication = m_windowsAuthentication->isChecked();
    choices.odbc.login = m_sqlLogin->text();
    choices.userName = m_userName->text().trimmed();
    return choices;
}

void LoginDialog::updateBackend()
{
    m_backendPages->setCurrentIndex(m_odbc->isChecked() ? 1 : 0);
    const bool byServer = m_dsn->text().trimmed().isEmpty();
    m_driver->setEnabled(byServer);
    m_server->setEnabled(byServer);
    m_port->setEnabled(byServer && !serverNamesInstanceOrPort(m_server->text()));
    m_encrypt->setEnabled(byServer);
    m_trustCertificate->setEnabled(byServer && !isFreeTdsDriver(m_driver->currentText()));
    const bool sqlLogin = !m_windowsAuthentication->isChecked();
    m_sqlLogin->setEnabled(sqlLogin);
    m_sqlPassword->setEnabled(sqlLogin);
}

void LoginDialog::browseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Folder of the Embedded Database"),
                                                             m_folder->text());
    if (!folder.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(folder));
}

QString LoginDialog::message() const
{
    return m_message->text();
}

void LoginDialog::showMessage(const QString& text)
{
    m_message->setText(text);
}

std::unique_ptr<Connection> LoginDialog::takeConnection()
{
    m_connectionKey.clear();
    return std::move(m_connection);
}

bool LoginDialog::ensureConnection()
{
    const LoginChoices wanted = choices();
    QString key;
    QString connectionString;
    if (wanted.backend == DatabaseBackend::Embedded) {
        if (wanted.folder.isEmpty()) {
            showMessage(QStringLiteral("Choose the folder of the embedded database."));
            m_folder->setFocus();
            return false;
        }
        key = QStringLiteral("embedded:") + QDir(wanted.folder).absolutePath();
    } else {
        if (wanted.odbc.dsn.isEmpty() && wanted.odbc.server.isEmpty()) {
            showMessage(QStringLiteral("Type the name of the SQL Server, or a DSN."));
            m_server->setFocus();
            return false;
        }
        const QString problem = odbcLoginProblem(wanted.odbc);
        if (!problem.isEmpty()) {
            showMessage(problem);
            m_encrypt->setFocus();
            return false;
        }
        OdbcLogin odbc = wanted.odbc;
        if (!odbc.windowsAuthentication)
            odbc.password = m_sqlPassword->text();
        connectionString = odbcConnectionString(odbc);
        key = QStringLiteral("odbc:") + connectionString;
    }
    if (m_connection && key == m_connectionKey)
        return true;

    m_connection.reset();
    m_connectionKey.clear();
    try {
        const WaitCursor wait;
        m_connection = wanted.backend == DatabaseBackend::Embedded ? Connection::openEmbedded(wanted.folder)
                                                                   : Connection::openOdbc(connectionString);
        m_connectionKey = key;
        return true;
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("Cannot connect to the database: %1").arg(errorDescription(error)));
        (wanted.backend == DatabaseBackend::Embedded ? m_folder : m_server)->setFocus();
        return false;
    }
}

void LoginDialog::record(const QString& knownUser, LoginOutcome outcome)
{
    if (m_recordFolder.isEmpty())
        return;
    try {
        recordLogin(m_recordFolder, QDateTime::currentDateTime(), knownUser, loginOutcomeText(outcome));
    } catch (const std::exception&) {
        // The user log in the same folder reports an unwritable folder to the clerk.
    }
}

void LoginDialog::collectNotices(bool weakHash)
{
    // The log-in stands either way: the clerk can work with what is allowed.
    m_notices.clear();
    const WaitCursor wait;
    try {
        const QString rights = missingRightsMessage(missingTableRights(*m_connection));
        if (!rights.isEmpty())
            m_notices << rights;
    } catch (const std::exception& error) {
        m_notices << QStringLiteral("The rights of the SQL log-in could not be checked: %1").arg(errorDescription(error));
    }
    if (!weakHash)
        return;
    try {
        strengthenPasswordHash(*m_connection, m_login.userName, m_password->text());
    } catch (const std::exception& error) {
        m_notices << QStringLiteral("Your password could not be stored with the stronger protection (%1). The "
                                    "log-in stands; it is tried again at your next log-in.")
                         .arg(errorDescription(error));
    }
}

void LoginDialog::attemptLogin()
{
    showMessage(QString());
    // The choices are remembered only once they led to a log-in: a mistyped folder
    // or another clerk's refused name must not be offered at the next start.
    const LoginChoices wanted = choices();
    if (wanted.userName.isEmpty()) {
        showMessage(QStringLiteral("Type your user name."));
        m_userName->setFocus();
        return;
    }
    if (!ensureConnection())
        return;

    LoginCheck check;
    try {
        const WaitCursor wait;
        check = checkUserPassword(*m_connection, wanted.userName, m_password->text(), m_deptCode);
    } catch (const std::exception& error) {
        // The connection may have broken; the next try opens it afresh.
        m_connection.reset();
        m_connectionKey.clear();
        showMessage(QStringLiteral("The users cannot be read from the database: %1").arg(errorDescription(error)));
        return;
    }

    record(check.knownUser, check.outcome);
    if (check.outcome == LoginOutcome::Accepted) {
        m_login = check;
        saveLoginChoices(m_settings, wanted);
        collectNotices(check.weakHash);
        accept();
        return;
    }
    ++m_refusals;
    if (m_refusals >= kMaximumRefusals) {
        reject();
        return;
    }
    const int left = kMaximumRefusals - m_refusals;
    showMessage(QStringLiteral("%1 %2 %3 left.")
                    .arg(check.message)
                    .arg(left)
                    .arg(left == 1 ? QStringLiteral("try") : QStringLiteral("tries")));
    m_password->clear();
    m_password->setFocus();
}

} // namespace vantik
