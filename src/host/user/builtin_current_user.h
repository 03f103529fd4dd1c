#pragma once

#include "host/user/current_user.h"
#include "host/user/user_log_window.h"

#include <QPointer>
#include <QString>

#include <memory>

namespace vantik {

class BuiltinClaimFormClasses;
class SettingsStore;
class UserLogFile;

/// The program's own current-user component: the log-in dialog, the connection it
/// opens, the user log (file and window) and the claim-form library.
class BuiltinCurrentUser final : public CurrentUser {
public:
    /// logFolder empty: the per-user data folder (defaultUserLogFolder()).
    explicit BuiltinCurrentUser(SettingsStore& settings, const QString& logFolder = QString());
    ~BuiltinCurrentUser() override;

    void PasswordDeptCode(const QString& deptCode) override;
    void setexepath(const QString& folder) override;
    /// A new log-in; when it fails or is cancelled, an earlier log-in stays as it was.
    void ShowMain() override;
    bool Connected() const override;
    Connection& sqlconnection() override;
    void addlog(const QString& text, bool show = false) override;
    ClaimFormClasses& VODURIZevevar() override;

    /// The logged-in user as the users table spells the name; empty before log-in.
    QString userName() const override { return m_userName; }
    QString displayName() const { return m_displayName; }
    /// The log file addlog writes to now.
    QString logFilePath() const;
    /// The "User Log" window, once addlog made it.
    UserLogWindow* logWindow() const { return m_logWindow.data(); }

private:
    SettingsStore& m_settings;
    QString m_logFolder;
    QString m_deptCode;
    QString m_exeFolder;
    std::unique_ptr<Connection> m_connection;
    QString m_userName;
    QString m_displayName;
    std::unique_ptr<UserLogFile> m_logFile;
    QPointer<UserLogWindow> m_logWindow;
    bool m_logWindowOffered = false;
    std::unique_ptr<BuiltinClaimFormClasses> m_claimForms;
};

} // namespace vantik
