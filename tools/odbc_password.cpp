#include "tools/odbc_password.h"

#include "tools/password_prompt.h"

#include <QList>

#include <algorithm>


namespace vantik::tools {

namespace {

struct Attribute {
    QString key; // upper case
    QString value; // as written, braces included
};

// The attributes of a connection string; values in braces may hold ';'.
QList<Attribute> attributes(const QString& connectionString)
{
    QList<Attribute> found;
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
        Attribute attribute{connectionString.mid(pos, equals - pos).trimmed().toUpper(), QString()};
        pos = equals + 1;
        const qsizetype valueStart = pos;
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
        attribute.value = connectionString.mid(valueStart, (end < 0 ? n : end) - valueStart).trimmed();
        found << attribute;
        if (end < 0)
            break;
        pos = end + 1;
    }
    return found;
}

bool hasKey(const QList<Attribute>& found, const char* key)
{
    return std::any_of(found.begin(), found.end(), [key](const Attribute& a) { return a.key == QLatin1String(key); });
}

// Trusted_Connection=yes: the Windows log-in reaches the server and no password is sent.
bool windowsLogIn(const QList<Attribute>& found)
{
    return std::any_of(found.begin(), found.end(), [](const Attribute& a) {
        const bool braced =
            a.value.size() >= 2 && a.value.startsWith(QLatin1Char('{')) && a.value.endsWith(QLatin1Char('}'));
        const QString value = braced ? a.value.mid(1, a.value.size() - 2) : a.value;
        return a.key == QLatin1String("TRUSTED_CONNECTION")
            && value.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
    });
}

} // namespace

QString withPassword(const QString& connectionString, bool standardInputTaken)
{
    const QList<Attribute> found = attributes(connectionString);
    if (hasKey(found, "PWD") || hasKey(found, "PASSWORD"))
        throw UsageError{QStringLiteral("The connection string holds a password (PWD=). Leave it out: give the "
                                        "password in the environment variable %1, or on standard input.")
                             .arg(QLatin1String(kPasswordVariable))};
    if (windowsLogIn(found))
        return connectionString;
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
