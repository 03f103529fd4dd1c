// vantik-ecf4: writes the CF4 XML document of each ready claim into a folder, for
// a nightly job, and says of every other claim what keeps it from being sent.

#include "ecf4/ecf4.h"
#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "tools/odbc_password.h"
#include "vantik_version.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

const char* const kUsage =
    "Usage: vantik-ecf4 --db DIR --from mm/dd/yyyy --to mm/dd/yyyy --out DIR\n"
    "       vantik-ecf4 --db DIR --idnum ID [--idnum ID ...] --out DIR\n"
    "       (--odbc \"<ODBC connection string>\" in place of --db DIR)\n"
    "       vantik-ecf4 --help | --version\n"
    "Checks the claims and writes the CF4 XML document of each ready one into the\n"
    "folder as <IDNum>.xml, never replacing a file that is there, with a summary\n"
    "ecf4-summary-<date-time>.csv of every claim. --from and --to take the PhilHealth\n"
    "claims (membership type set, not nn) registered on those days and between them,\n"
    "in-patients and out-patients; --idnum takes the claims named.\n"
    "Prints one line per claim (<IDNum> exported <file>, <IDNum> refused: <reasons>,\n"
    "<IDNum> not exported: <reason>, <IDNum> warning: <warning>) and a total line.\n"
    "\n"
    "The ODBC password is never given on the command line: a PWD= in the connection\n"
    "string is refused. It is taken from the environment variable VANTIK_ODBC_PWD or,\n"
    "when that is not set, from the first line of standard input. With\n"
    "Trusted_Connection=yes (the Windows log-in) no password is asked for.\n"
    "Exit status: 0 every claim exported, 1 some were not, 2 bad usage or a database error.\n";

using vantik::tools::UsageError;

struct Options {
    QString database;
    bool odbc = false;
    QDate from, to;
    QStringList idNums;
    QString out;
};

QDate dateArgument(const QString& option, const QString& text)
{
    const QLocale c = QLocale::c();
    for (const char* format : {"MM/dd/yyyy", "M/d/yyyy"}) {
        const QDate date = c.toDate(text, QLatin1String(format));
        if (date.isValid())
            return date;
    }
    throw UsageError{QStringLiteral("%1 takes a date as mm/dd/yyyy, not \"%2\".").arg(option, text)};
}

Options parse(const QStringList& args)
{
    Options options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& option = args[i];
        if (i + 1 >= args.size())
            throw UsageError{QStringLiteral("%1 needs a value.").arg(option)};
        const QString value = args[++i];
        if (option == QLatin1String("--db") || option == QLatin1String("--odbc")) {
            if (!options.database.isEmpty())
                throw UsageError{QStringLiteral("Give one database: --db or --odbc, once.")};
            options.database = value;
            options.odbc = option == QLatin1String("--odbc");
        } else if (option == QLatin1String("--from")) {
            options.from = dateArgument(option, value);
        } else if (option == QLatin1String("--to")) {
            options.to = dateArgument(option, value);
        } else if (option == QLatin1String("--idnum")) {
            if (value.trimmed().isEmpty())
                throw UsageError{QStringLiteral("--idnum needs an IDNum.")};
            if (!options.idNums.contains(value))
                options.idNums << value;
        } else if (option == QLatin1String("--out")) {
            options.out = value;
        } else {
            throw UsageError{QStringLiteral("Unknown option %1.").arg(option)};
        }
    }
    if (options.database.isEmpty())
        throw UsageError{QStringLiteral("Give the database: --db DIR or --odbc \"<connection string>\".")};
    if (options.out.isEmpty())
        throw UsageError{QStringLiteral("Give the folder for the files: --out DIR.")};
    const bool byDates = options.from.isValid() || options.to.isValid();
    if (byDates == !options.idNums.isEmpty())
        throw UsageError{QStringLiteral("Give either --from and --to, or --idnum.")};
    if (byDates && (!options.from.isValid() || !options.to.isValid()))
        throw UsageError{QStringLiteral("--from and --to go together.")};
    if (byDates && options.from > options.to)
        throw UsageError{QStringLiteral("--from is after --to.")};
    return options;
}

void print(const QString& line)
{
    QTextStream(stdout) << line << '\n';
    std::fflush(stdout);
}

void printClaim(const vantik::ecf4::ExportedClaim& claim)
{
    using vantik::ecf4::ClaimOutcome;
    const QString reasons = claim.reasons.join(QStringLiteral("; "));
    switch (claim.outcome) {
    case ClaimOutcome::Exported:
        print(claim.idNum + QStringLiteral(" exported ") + QDir::toNativeSeparators(claim.file));
        break;
    case ClaimOutcome::Refused:
        print(claim.idNum + QStringLiteral(" refused: ") + reasons);
        break;
    case ClaimOutcome::Ready:
        print(claim.idNum + QStringLiteral(" not exported: ") + reasons);
        break;
    case ClaimOutcome::NotChecked:
        break;
    }
    for (const QString& warning : claim.warnings)
        print(claim.idNum + QStringLiteral(" warning: ") + warning);
}

int run(const Options& options)
{
    if (!QDir().mkpath(options.out))
        throw UsageError{QStringLiteral("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(options.out))};
    const auto connection = options.odbc
        ? vantik::Connection::openOdbc(vantik::tools::withPassword(options.database, false))
        : vantik::Connection::openEmbedded(options.database);
    const QDateTime now = QDateTime::currentDateTime();
    const vantik::ecf4::Ecf4Session session(*connection, now.date());
    const QStringList claims =
        options.idNums.isEmpty() ? vantik::ecf4::claimsRegistered(*connection, options.from, options.to) : options.idNums;

    vantik::ecf4::FolderExportOptions exportOptions;
    exportOptions.folder = options.out;
    exportOptions.afterClaim = [](int, int, const vantik::ecf4::ExportedClaim& claim) {
        printClaim(claim);
        return true;
    };
    const vantik::ecf4::FolderExport done = vantik::ecf4::exportToFolder(session, claims, exportOptions, now);
    using vantik::ecf4::ClaimOutcome;
    const int exported = done.count(ClaimOutcome::Exported);
    print(QStringLiteral("Summary: ") + QDir::toNativeSeparators(done.summaryFile));
    print(QStringLiteral("Total: %1 claims, %2 exported, %3 refused, %4 not exported")
              .arg(claims.size())
              .arg(exported)
              .arg(done.count(ClaimOutcome::Refused))
              .arg(done.count(ClaimOutcome::Ready)));
    return exported == claims.size() ? 0 : 1;
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
        std::printf("vantik-ecf4 %s\n", vantik::kVersion);
        return 0;
    }
    try {
        return run(parse(args));
    } catch (const UsageError& error) {
        err << error.message << '\n' << '\n' << kUsage;
        return 2;
    } catch (const vantik::ecf4::FileOutputError& error) {
        // The claims' files are written; only the summary is not.
        err << "vantik-ecf4: " << QString::fromUtf8(error.what()) << '\n';
        return 1;
    } catch (const std::exception& error) {
        // A database that cannot be opened or read, the program's tables missing,
        // PhilHealth's DTD not found.
        err << "vantik-ecf4: " << QString::fromUtf8(error.what()) << '\n';
        return 2;
    }
}
