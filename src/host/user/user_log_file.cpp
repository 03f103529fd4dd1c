#include "host/user/user_log_file.h"

#include "host/component_error.h"

#include <QDir>
#include <QStandardPaths>

namespace vantik {

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

[[noreturn]] void failWriting(const QString& path, const QString& reason)
{
    throw ComponentError(QStringLiteral("The user log %1 cannot be written: %2")
                             .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

QString userLogLine(const QDateTime& when, const QString& text)
{
    QString oneLine = text;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
    const QChar breaks[] = {QChar(u'\n'), QChar(u'\r'), QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)};
    for (const QChar breaking : breaks)
        oneLine.replace(breaking, QLatin1Char(' '));
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1String("  ") + oneLine;
}

QString userLogFileName(const QString& userName)
{
    QString name;
    for (const QChar c : userName.trimmed()) {
        const bool safe = (c.isLetterOrNumber() && c.unicode() < 128) || c == u'-' || c == u'_' || c == u'.';
        name += safe ? c : QChar(u'_');
    }
    if (name.isEmpty())
        name = QStringLiteral("unknown");
    if (name.startsWith(QLatin1Char('.')))
        name.prepend(QLatin1Char('_'));
    return name + QStringLiteral(".log");
}

QString defaultUserLogFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath();
    return QDir(base).filePath(QStringLiteral("vantik/logs"));
}

UserLogFile::UserLogFile(const QString& folder, const QString& userName)
{
    m_file.setFileName(QDir(folder).filePath(userLogFileName(userName)));
}

UserLogFile::UserLogFile(const QString& path)
{
    m_file.setFileName(path);
}

void UserLogFile::open()
{
    const QString folder = QFileInfo(m_file.fileName()).absolutePath();
    if (!QDir().mkpath(folder))
        failWriting(m_file.fileName(),
                    QStringLiteral("the folder %1 cannot be created.").arg(QDir::toNativeSeparators(folder)));
    // Not Text: on Windows it would end each line with CRLF, and the log is one
    // file whichever system wrote it.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append, kOwnerOnly))
        failWriting(m_file.fileName(), m_file.errorString());
    // A file left by an older version or copied in may be readable by others.
    if (!m_file.setPermissions(kOwnerOnly))
        failWriting(m_file.fileName(), m_file.errorString());
}

void recordLogin(const QString& folder, const QDateTime& when, const QString& knownUser, const QString& outcome)
{
    QString user = QStringLiteral("unknown");
    if (!knownUser.isEmpty()) {
        QString quoted = knownUser;
        quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
        user = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    // The same file rules as a user log: owner only, flushed at once.
    UserLogFile record(QDir(folder).filePath(QString::fromLatin1(kLoginRecordFileName)));
    record.writeLine(userLogLine(when, QStringLiteral("%1  %2").arg(user, outcome)));
}

void UserLogFile::writeLine(const QString& line)
{
    if (!m_file.isOpen())
        open();
    const QByteArray bytes = line.toUtf8() + '\n';
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        const QString reason = m_file.errorString();
        m_file.close(); // the next line tries again from a fresh open
        failWriting(m_file.fileName(), reason);
    }
}

} // namespace vantik
