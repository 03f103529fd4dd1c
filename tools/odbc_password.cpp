#include "tools/odbc_password.h"

#include "tools/password_prompt.h"

#include <QStringList>


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
        password = QString::fromStdString(readHiddenLine("ODBC password: "));
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
