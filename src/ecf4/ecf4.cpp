#include "ecf4/ecf4.h"

#include "ecf4/cf4_compose.h"
#include "ecf4/cf4_document.h"
#include "ecf4/cf4_dtd.h"
#include "ecf4/cf4_rules.h"
#include "host/data/database_error.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <mutex>

namespace vantik::ecf4 {

namespace {

QString patientName(const Cf4Source& source)
{
    const QString last = source.lastName.trimmed();
    const QString first = source.firstName.trimmed();
    if (last.isEmpty() || first.isEmpty())
        return last + first;
    return last + QStringLiteral(", ") + first;
}

void appendCsvField(QByteArray& out, const QString& text)
{
    QString field = text;
    const bool quote = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
        || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'));
    if (quote) {
        field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        field = QLatin1Char('"') + field + QLatin1Char('"');
    }
    out += field.toUtf8();
}

// UTF-8 with a byte-order mark, so that spreadsheets read "ñ", and CRLF line ends.
QByteArray summaryCsv(const QList<ExportedClaim>& claims)
{
    QByteArray out("\xEF\xBB\xBF" "IDNum,Patient,Status,Reasons,Warnings\r\n");
    for (const ExportedClaim& claim : claims) {
        const QString fields[] = {claim.idNum, claim.patient, outcomeText(claim.outcome),
                                  claim.reasons.join(QStringLiteral("; ")), claim.warnings.join(QStringLiteral("; "))};
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            if (i > 0)
                out += ',';
            appendCsvField(out, fields[i]);
        }
        out += "\r\n";
    }
    return out;
}

QString writeSummary(const QString& folder, const QList<ExportedClaim>& claims, const QDateTime& startedAt)
{
    const QByteArray bytes = summaryCsv(claims);
    const QString stem = QStringLiteral("ecf4-summary-") + startedAt.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int attempt = 1;; ++attempt) {
        const QString name = attempt == 1 ? stem : stem + QLatin1Char('-') + QString::number(attempt);
        const QString path = QDir(folder).filePath(name + QStringLiteral(".csv"));
        if (QFileInfo::exists(path) && attempt < 1000)
            continue;
        writeWholeFile(path, bytes, ExistingFile::Keep);
        return path;
    }
}

} // namespace

QString Verdict::line() const
{
    if (ready())
        return QStringLiteral("eCF4: ready");
    return QStringLiteral("eCF4: ") + problems.join(QStringLiteral("; "));
}

std::shared_ptr<const Cf4Dtd> shippedCf4Dtd()
{
    static std::mutex guard;
    static std::shared_ptr<const Cf4Dtd> dtd;
    const std::lock_guard<std::mutex> lock(guard);
    // Read again after a failure: the clerk may have put the file back meanwhile.
    if (!dtd)
        dtd = std::make_shared<const Cf4Dtd>(cf4DtdPath());
    return dtd;
}

Ecf4Session::Ecf4Session(Connection& connection, const QDate& exportDate)
    : Ecf4Session(connection, exportDate, shippedCf4Dtd())
{
}

Ecf4Session::Ecf4Session(Connection& connection, const QDate& exportDate, std::shared_ptr<const Cf4Dtd> dtd)
    : m_connection(connection)
    , m_exportDate(exportDate)
    , m_dtd(std::move(dtd))
{
    requireCf4Tables(connection);
    m_facility = readFacility(connection);
    m_codes = CodeTables::read(connection);
}

Ecf4Session::~Ecf4Session() = default;

Verdict Ecf4Session::check(const QString& idNum) const
{
    Verdict verdict;
    verdict.idNum = idNum;
    const std::optional<Cf4Source> source = readCf4Source(m_connection, idNum);
    if (!source) {
        verdict.problems << QStringLiteral("Admission not found");
        return verdict;
    }
    verdict.found = true;
    verdict.patient = patientName(*source);
    const Cf4Form form = composeForm(*source, m_codes, m_facility, m_exportDate);
    Findings findings = checkForm(form);
    verdict.problems = std::move(findings.problems);
    verdict.warnings = std::move(findings.warnings);
    if (!verdict.problems.isEmpty())
        return verdict;
    QByteArray document = writeCf4Document(form);
    // The rules above should leave nothing for the DTD to refuse; if they do not,
    // the file is not sent either.
    for (const QString& fault : m_dtd->validate(document))
        verdict.problems << QStringLiteral("PhilHealth's DTD refuses the document: ") + fault;
    if (verdict.problems.isEmpty())
        verdict.document = std::move(document);
    return verdict;
}

Verdict cf4Readiness(Connection& connection, const QString& idNum, const QDate& exportDate)
{
    return Ecf4Session(connection, exportDate).check(idNum);
}

QString cf4FileName(const QString& idNum)
{
    QString name = idNum;
    for (QChar& c : name) {
        const char16_t u = c.unicode();
        const bool plain = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-'
            || u == '_';
        if (!plain)
            c = QLatin1Char('_');
    }
    return name + QStringLiteral(".xml");
}

QString writeCf4File(const Verdict& verdict, const QString& folder, ExistingFile existing)
{
    if (!verdict.ready() || verdict.document.isEmpty())
        throw std::logic_error("only a ready claim has a CF4 file to write");
    const QString path = QDir(folder).filePath(cf4FileName(verdict.idNum));
    writeWholeFile(path, verdict.document, existing);
    return path;
}

QString outcomeText(ClaimOutcome outcome)
{
    switch (outcome) {
    case ClaimOutcome::Exported: return QStringLiteral("exported");
    case ClaimOutcome::Ready: return QStringLiteral("ready");
    case ClaimOutcome::Refused: return QStringLiteral("refused");
    case ClaimOutcome::NotChecked: break;
    }
    return QStringLiteral("not checked");
}

int FolderExport::count(ClaimOutcome outcome) const
{
    return int(std::count_if(claims.begin(), claims.end(),
                             [outcome](const ExportedClaim& claim) { return claim.outcome == outcome; }));
}

FolderExport exportToFolder(const Ecf4Session& session, const QStringList& idNums, const FolderExportOptions& options,
                            const QDateTime& startedAt)
{
    if (!QFileInfo(options.folder).isDir())
        throw FileOutputError(options.folder, QStringLiteral("there is no such folder"));
    FolderExport result;
    for (const QString& idNum : idNums)
        result.claims.push_back({idNum, {}, ClaimOutcome::NotChecked, {}, {}, {}});
    const int count = int(idNums.size());
    for (int i = 0; i < count; ++i) {
        ExportedClaim& claim = result.claims[i];
        Verdict verdict;
        try {
            verdict = session.check(claim.idNum);
        } catch (const DatabaseError& error) {
            // What was done stays on record; the database's failure is what the caller reports.
            claim.reasons << error.message();
            try {
                writeSummary(options.folder, result.claims, startedAt);
            } catch (const FileOutputError&) {
            }
            throw;
        }
        claim.patient = verdict.patient;
        claim.warnings = verdict.warnings;
        if (!verdict.ready()) {
            claim.outcome = ClaimOutcome::Refused;
            claim.reasons = verdict.problems;
        } else {
            const QString path = QDir(options.folder).filePath(cf4FileName(claim.idNum));
            const bool replace =
                options.replaceExisting && QFileInfo::exists(path) && options.replaceExisting(path);
            try {
                claim.file = writeCf4File(verdict, options.folder, replace ? ExistingFile::Replace : ExistingFile::Keep);
                claim.outcome = ClaimOutcome::Exported;
            } catch (const FileOutputError& error) {
                claim.outcome = ClaimOutcome::Ready;
                claim.reasons << QString::fromUtf8(error.what());
            }
        }
        if (options.afterClaim && !options.afterClaim(i, count, claim)) {
            result.stopped = i + 1 < count;
            break;
        }
    }
    result.summaryFile = writeSummary(options.folder, result.claims, startedAt);
    return result;
}

} // namespace vantik::ecf4
