#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

namespace vantik {

/// The user log line of one addlog call: time stamp, two blanks, the text on one line.
QString userLogLine(const QDateTime& when, const QString& text);

/// The file name of a user's log: the user name with anything but letters, digits,
/// '-', '_' and '.' replaced, never hidden, "unknown" before anyone logged in.
QString userLogFileName(const QString& userName);

/// The folder of the user logs: <per-user data folder>/vantik/logs.
QString defaultUserLogFolder();

/// The record of log-ins beside the user logs. Its extension is one no user log
/// has, so no user name can make a user log of it.
inline constexpr const char* kLoginRecordFileName = "logins.record";

/// Appends one line to the record of log-ins (mode 0600): the time, the user and the
/// outcome, never a password. A user the users table knows is written as the table
/// spells the name, in double quotes (a quote inside doubled), so that no name can
/// pass for another part of the line; a name it does not know is written as
/// unknown, never as typed (it may be a password typed into the wrong box).
/// knownUser is empty for an unknown name. Throws ComponentError when it cannot
/// be written.
void recordLogin(const QString& folder, const QDateTime& when, const QString& knownUser, const QString& outcome);

/// One user's log file, open for appending while the object lives. Only the owner may
/// read it (mode 0600): it tells what the clerk worked on. Every line is flushed at
/// once so that nothing is lost when the program ends abruptly.
class UserLogFile {
public:
    UserLogFile(const QString& folder, const QString& userName);
    /// Any file, under the same rules.
    explicit UserLogFile(const QString& path);

    QString path() const { return m_file.fileName(); }
    /// Throws ComponentError when the line cannot be written.
    void writeLine(const QString& line);

private:
    void open();

    QFile m_file;
};

} // namespace vantik
