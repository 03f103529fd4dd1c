// vantik-sql: runs one T-SQL statement through the program's data layer and prints
// the result as tab-separated text, for support staff checking data.

#include "host/data/connection.h"
#include "host/data/database_error.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

const char* const kUsage =
    "Usage: vantik-sql --db DIR \"<T-SQL>\"\n"
    "       vantik-sql --odbc \"<ODBC connection string>\" \"<T-SQL>\"\n"
    "Runs one statement and prints its rows as tab-separated text with a header line\n"
    "(NULL as empty; tabs and line breaks inside values print as blanks).\n";

QString cellText(QStringView text)
{
    QString out = text.toString();
    out.replace(QLatin1Char('\t'), QLatin1Char(' '));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
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
    if (args.size() != 3 || (args[0] != QLatin1String("--db") && args[0] != QLatin1String("--odbc"))) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    try {
        const auto connection = args[0] == QLatin1String("--db") ? vantik::Connection::openEmbedded(args[1])
                                                                 : vantik::Connection::openOdbc(args[1]);
        const vantik::ResultSet result = connection->execute(args[2]);
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
        return 0;
    } catch (const vantik::DatabaseError& error) {
        err << error.message() << '\n';
        return 1;
    } catch (const std::exception& error) {
        err << QString::fromUtf8(error.what()) << '\n';
        return 1;
    }
}
