#pragma once

#include "host/user/login_check.h"
#include "host/user/login_settings.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace vantik {

class Connection;
class SettingsStore;

/// The log-in: where the hospital database is, then the clerk's user name and
/// password. OK connects (or reuses the connection of the last try when the
/// database choice is the same) and checks the password; a failure stays in the
/// dialog with its message so the clerk can correct it. The third refused
/// password closes the dialog without a log-in.
class LoginDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaximumRefusals = 3;

    LoginDialog(SettingsStore& settings, const QString& exeFolder, const QString& deptCode,
                QWidget* parent = nullptr);
    ~LoginDialog() override;

    /// After acceptance: the open connection and the user it was checked for.
    std::unique_ptr<Connection> takeConnection();
    const LoginCheck& login() const { return m_login; }
    int refusals() const { return m_refusals; }
    QString message() const;

    /// What the connection part of the dialog holds (no user password).
    LoginChoices choices() const;

    /// Every accepted and refused log-in is recorded in this folder (empty: none).
    void recordLoginsIn(const QString& folder) { m_recordFolder = folder; }

    /// After acceptance: what the clerk must be told once, which did not stop the
    /// log-in (rights the SQL log-in lacks, a password hash that could not be
    /// strengthened).
    const QStringList& notices() const { return m_notices; }

private:
    void buildWidgets();
    void setTabOrderChain();
    void restore(const LoginChoices& choices);
    void updateBackend();
    void browseFolder();
    void attemptLogin();
    bool ensureConnection();
    void showMessage(const QString& text);
    void record(const QString& knownUser, LoginOutcome outcome);
    void collectNotices(bool weakHash);

    SettingsStore& m_settings;
    QString m_deptCode;
    std::unique_ptr<Connection> m_connection;
    QString m_connectionKey; // what m_connection was opened with
    LoginCheck m_login;
    int m_refusals = 0;
    QString m_recordFolder;
    QStringList m_notices;

    QRadioButton* m_embedded = nullptr;
    QRadioButton* m_odbc = nullptr;
    QStackedWidget* m_backendPages = nullptr;
    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
    QComboBox* m_driver = nullptr;
    QLineEdit* m_server = nullptr;
    QSpinBox* m_port = nullptr;
    QLineEdit* m_dsn = nullptr;
    QComboBox* m_encrypt = nullptr;
    QCheckBox* m_trustCertificate = nullptr;
    QCheckBox* m_windowsAuthentication = nullptr;
    QLineEdit* m_sqlLogin = nullptr;
    QLineEdit* m_sqlPassword = nullptr;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace vantik
