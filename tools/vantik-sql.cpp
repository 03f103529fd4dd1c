// vantik-sql: runs one T-SQL statement through the program's data layer and prints
// the result as tab-separated text, for support staff checking data.

#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "host/data/embedded_connection.h"
#include "tools/odbc_password.h"
#include "vantik_version.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace {

const char* const kUsage =
    "Usage: vantik-sql --db DIR \"<T-SQL>\"\n"
    "       vantik-sql --db DIR -\n"
    "       vantik-sql --odbc \"<ODBC connection string>\" \"<T-SQL>\"\n"
    "       vantik-sql --odbc \"<ODBC connection string>\" -\n"
    "       vantik-sql --db DIR --backup OUT\n"
    "       vantik-sql --help | --version\n"
    "Runs one statement and prints its rows as tab-separated text with a header line\n"
    "(NULL as empty; tabs and line breaks inside values print as blanks).\n"
    "With - the statement is read from standard input (for one too long for the command\n"
    "line, or kept in a file: vantik-sql --db DIR - < query.sql).\n"
    "\n"
    "The ODBC password is never given on the command line, where other users of the\n"
    "machine can read it: a PWD= in the connection string is refused. It is taken from the\n"
    "environment variable VANTIK_ODBC_PWD or, when that is not set, from the first line of\n"
    "standard input (then the statement must be on the command line, not -). With\n"
    "Trusted_Connection=yes (the Windows log-in) no password is asked for.\n"
    "\n"
    "--backup copies the four databases of DIR into the folder OUT (made when missing,\n"
    "holding none of them yet) while programs go on using them: each copy is its\n"
    "database as it stood when the backup began, the saves still in its write-ahead\n"
    "log included.\n"
    "Exit status: 0 done, 1 the database refused the statement or the connection, 2 bad usage.\n";

QString cellText(QStringView text)
{
    QString out = text.toString();
    out.replace(QLatin1Char('\t'), QLatin1Char(' '));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

struct StatementError {
    QString message;
};

QString statementFromStandardInput()
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw StatementError{QStringLiteral("Standard input cannot be read.")};
    QByteArray bytes = in.readAll();
    // Editors on Windows start a saved query with a byte order mark.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    // A NUL would cut the statement short where the engine reads it.
    if (bytes.contains('\0'))
        throw StatementError{QStringLiteral("The statement read from standard input contains a NUL character "
                                            "(code 0); remove it and try again.")};
    return QString::fromUtf8(bytes);
}

void printResult(const vantik::ResultSet& result)
{
    QTextStream out(stdout);
    if (result.columnCount() > 0) {
        QStringList header;
        for (const QString& name : result.columnNames())
            header << cellText(name);
        out << header.join(QLatin1Char('\t')) << '\n';
    }
    for (int row = 0; row < result.rowCount(); ++row) {
        for (int column = 0; column < result.columnCount(); ++column) {
            if (column > 0)
                out << '\t';
            out << cellText(result.cell(row, column));
        }
        out << '\n';
    }
}

int backUp(const QString& folder, const QString& target)
{
    try {
        vantik::EmbeddedConnection(folder).backupTo(target);
    } catch (const std::exception& error) {
        QTextStream(stderr) << QString::fromUtf8(error.what()) << '\n';
        return 1;
    }
    QTextStream(stdout) << "Backed up " << vantik::EmbeddedConnection::databaseNames().join(QStringLiteral(", "))
                        << " into " << target << ".\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        std::printf("vantik-sql %s\n", vantik::kVersion);
        return 0;
    }
    if (args.size() == 4 && args[0] == QLatin1String("--db") && args[2] == QLatin1String("--backup"))
        return backUp(args[1], args[3]);
    if (args.size() != 3 || (args[0] != QLatin1String("--db") && args[0] != QLatin1String("--odbc"))) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    const bool embedded = args[0] == QLatin1String("--db");
    const bool statementOnStandardInput = args[2] == QLatin1String("-");
    try {
        // The password is read before the statement: both may not come from standard input.
        const QString connectionString =
            embedded ? QString() : vantik::tools::withPassword(args[1], statementOnStandardInput);
        const QString statement = statementOnStandardInput ? statementFromStandardInput() : args[2];
        const auto connection = embedded ? vantik::Connection::openEmbedded(args[1])
                                         : vantik::Connection::openOdbc(connectionString);
        printResult(connection->execute(statement));
        return 0;
    } catch (const vantik::tools::UsageError& error) {
        err << error.message << '\n';
        return 2;
    } catch (const StatementError& error) {
        err << error.message << '\n';
        return 1;
    } catch (const vantik::DatabaseError& error) {
        err << error.message() << '\n';
        return 1;
    } catch (const std::exception& error) {
        err << QString::fromUtf8(error.what()) << '\n';
        return 1;
    }
}
