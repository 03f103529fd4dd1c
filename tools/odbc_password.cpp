#include "tools/odbc_password.h"

#include <QStringList>

#include <termios.h>
#include <unistd.h>

#include <cstdio>

namespace vantik::tools {

namespace {

// The keys of a connection string's attributes, upper case; values in braces may hold ';'.
QStringList attributeKeys(const QString& connectionString)
{
    QStringList keys;
    qsizetype pos = 0;
    const qsizetype n = connectionString.size();
    while (pos < n) {
        const qsizetype equals = connectionString.indexOf(QLatin1Char('='), pos);
        const qsizetype semicolon = connectionString.indexOf(QLatin1Char(';'), pos);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            if (semicolon < 0)
                break;
            pos = semicolon + 1;
            continue;
        }
        keys << connectionString.mid(pos, equals - pos).trimmed().toUpper();
        pos = equals + 1;
        if (pos < n && connectionString.at(pos) == QLatin1Char('{')) {
            // "}}" stands for one brace inside a braced value.
            ++pos;
            while (pos < n) {
                if (connectionString.at(pos) == QLatin1Char('}')) {
                    if (pos + 1 < n && connectionString.at(pos + 1) == QLatin1Char('}')) {
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                ++pos;
            }
        }
        const qsizetype end = connectionString.indexOf(QLatin1Char(';'), pos);
        if (end < 0)
            break;
        pos = end + 1;
    }
    return keys;
}

// The first line of standard input, without echo when it is a terminal.
QString passwordFromStandardInput()
{
    const bool terminal = isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (terminal) {
        std::fputs("ODBC password: ", stderr);
        std::fflush(stderr);
        if (tcgetattr(STDIN_FILENO, &saved) == 0) {
            termios quiet = saved;
            quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        }
    }
    QByteArray line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        line.append(static_cast<char>(c));
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

} // namespace

QString withPassword(const QString& connectionString, bool standardInputTaken)
{
    const QStringList keys = attributeKeys(connectionString);
    if (keys.contains(QLatin1String("PWD")) || keys.contains(QLatin1String("PASSWORD")))
        throw UsageError{QStringLiteral("The connection string holds a password (PWD=). Leave it out: give the "
                                        "password in the environment variable %1, or on standard input.")
                             .arg(QLatin1String(kPasswordVariable))};
    QString password;
    if (qEnvironmentVariableIsSet(kPasswordVariable)) {
        password = qEnvironmentVariable(kPasswordVariable);
    } else if (standardInputTaken) {
        throw UsageError{QStringLiteral("The statement is read from standard input, so the password cannot be: "
                                        "give it in the environment variable %1.")
                             .arg(QLatin1String(kPasswordVariable))};
    } else {
        password = passwordFromStandardInput();
    }
    if (password.isEmpty())
        return connectionString;
    QString text = connectionString.trimmed();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char(';')))
        text += QLatin1Char(';');
    QString braced = password;
    braced.replace(QLatin1Char('}'), QLatin1String("}}"));
    return text + QLatin1String("PWD={") + braced + QLatin1String("};");
}

} // namespace vantik::tools
