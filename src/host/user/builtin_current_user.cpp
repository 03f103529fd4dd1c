#include "host/user/builtin_current_user.h"

#include "host/claimforms/builtin_claim_form_classes.h"
#include "host/component_error.h"
#include "host/data/connection.h"
#include "host/user/login_dialog.h"
#include "host/user/user_log_file.h"
#include "host/user/user_log_window.h"

#include <QApplication>
#include <QDateTime>

namespace vantik {

BuiltinCurrentUser::BuiltinCurrentUser(SettingsStore& settings, const QString& logFolder)
    : m_settings(settings)
    , m_logFolder(logFolder.isEmpty() ? defaultUserLogFolder() : logFolder)
    // The hospital records who did what in upper case, as the user tables name them.
    , m_claimForms(std::make_unique<BuiltinClaimFormClasses>(
          ClaimFormEnvironment{*this, [this] { return m_userName.toUpper(); }, [] { return QDateTime::currentDateTime(); },
                               &m_settings}))
{
}

BuiltinCurrentUser::~BuiltinCurrentUser()
{
    delete m_logWindow.data();
}

void BuiltinCurrentUser::PasswordDeptCode(const QString& deptCode)
{
    m_deptCode = deptCode;
}

void BuiltinCurrentUser::setexepath(const QString& folder)
{
    m_exeFolder = folder;
}

void BuiltinCurrentUser::ShowMain()
{
    LoginDialog dialog(m_settings, m_exeFolder, m_deptCode, QApplication::activeWindow());
    dialog.recordLoginsIn(m_logFolder);
    if (dialog.exec() != QDialog::Accepted)
        return;
    auto connection = dialog.takeConnection();
    if (!connection)
        return;
    m_connection = std::move(connection);
    m_userName = dialog.login().userName;
    m_displayName = dialog.login().displayName;
    m_logFile.reset(); // the next line goes to this user's own log
    // Told once, where the clerk sees it and the log keeps it.
    for (const QString& notice : dialog.notices())
        addlog(notice, true);
}

bool BuiltinCurrentUser::Connected() const
{
    return m_connection != nullptr;
}

Connection& BuiltinCurrentUser::sqlconnection()
{
    if (!m_connection)
        throw ComponentError(QStringLiteral("Not logged in: there is no database connection."));
    return *m_connection;
}

QString BuiltinCurrentUser::logFilePath() const
{
    return m_logFile ? m_logFile->path() : UserLogFile(m_logFolder, m_userName).path();
}

void BuiltinCurrentUser::addlog(const QString& text, bool show)
{
    const QString line = userLogLine(QDateTime::currentDateTime(), text);
    // The window first: when the file fails, the clerk still sees the line.
    if (!m_logWindow)
        m_logWindow = new UserLogWindow;
    m_logWindow->appendLine(line);
    // The first line of a session brings the window up; once the clerk has closed
    // it, only a line that asks for it shows it again.
    if (show || !m_logWindowOffered) {
        m_logWindow->showBesideActiveWindow();
        m_logWindowOffered = true;
    }
    if (!m_logFile)
        m_logFile = std::make_unique<UserLogFile>(m_logFolder, m_userName);
    m_logFile->writeLine(line);
}

ClaimFormClasses& BuiltinCurrentUser::VODURIZevevar()
{
    return *m_claimForms;
}

} // namespace vantik
