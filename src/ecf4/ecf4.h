#pragma once

// The eCF4: each claim form as PhilHealth's CF4 XML document, checked before it
// leaves the hospital. Every place that tells a clerk whether a claim can go (the
// entry window's line, the pass over the list, vantik-ecf4) asks Ecf4Session::check;
// every place that writes files calls writeCf4File or exportToFolder.

#include "ecf4/cf4_source.h"
#include "ecf4/file_output.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace vantik {
class Connection;
}

namespace vantik::ecf4 {

class Cf4Dtd;

/// Whether one claim can go to PhilHealth, in words a claims clerk understands.
struct Verdict {
    QString idNum;
    QString patient;      ///< "Dela Cruz, Juan"; empty when the claim was not found
    bool found = false;   ///< the IDNum names an admission or out-patient visit
    QStringList problems; ///< what keeps it from being sent; empty when ready
    QStringList warnings; ///< sent anyway, but worth a look (a drug without a code)
    QByteArray document;  ///< the CF4 file's bytes, when ready

    bool ready() const { return found && problems.isEmpty(); }
    /// "eCF4: ready" or "eCF4: " and the problems, separated by "; ".
    QString line() const;
};

/// eCF4 work on one connection on one day. It reads the facility's values and the
/// code tables when made, so that a pass over a list reads them once; make a new
/// one after they change. It only ever reads the database.
class Ecf4Session {
public:
    /// Throws MissingTablesError naming the program's tables the database lacks,
    /// DatabaseError, and std::runtime_error when PhilHealth's DTD cannot be read.
    /// The export date goes into the document (pTransDate, pEffYear): the same
    /// data, settings and date give the same bytes.
    Ecf4Session(Connection& connection, const QDate& exportDate);
    /// The same with a DTD of the caller's (tests).
    Ecf4Session(Connection& connection, const QDate& exportDate, std::shared_ptr<const Cf4Dtd> dtd);
    ~Ecf4Session();

    /// The one readiness of a claim: it reads the claim, composes its CF4, checks
    /// PhilHealth's rules, writes the document and validates it against the DTD.
    /// A claim that is not found is not ready ("Admission not found"). Throws
    /// DatabaseError.
    Verdict check(const QString& idNum) const;

    const QDate& exportDate() const { return m_exportDate; }
    const Facility& facility() const { return m_facility; }

private:
    Connection& m_connection;
    QDate m_exportDate;
    Facility m_facility;
    CodeTables m_codes;
    std::shared_ptr<const Cf4Dtd> m_dtd;
};

/// PhilHealth's DTD from cf4DtdPath(), read on first use and kept.
std::shared_ptr<const Cf4Dtd> shippedCf4Dtd();

/// The readiness of one claim in one call (a session of its own).
Verdict cf4Readiness(Connection& connection, const QString& idNum, const QDate& exportDate);

/// "26000123.xml": the IDNum, with any character other than letters, digits, '-'
/// and '_' written as '_' so that every IDNum gives a plain file name.
QString cf4FileName(const QString& idNum);

/// Writes a ready claim's document into the folder under cf4FileName(), complete
/// or not at all; returns the file's path. An existing file of that name is
/// replaced only with ExistingFile::Replace. Throws FileOutputError naming the
/// file, and std::logic_error for a claim that is not ready.
QString writeCf4File(const Verdict& verdict, const QString& folder, ExistingFile existing);

/// How one claim of a folder export ended.
enum class ClaimOutcome {
    Exported,   ///< ready, and its file was written
    Ready,      ///< ready, but no file was written (see reasons)
    Refused,    ///< not ready (see reasons)
    NotChecked, ///< the export stopped before it
};
QString outcomeText(ClaimOutcome outcome); ///< "exported", "ready", "refused", "not checked"

struct ExportedClaim {
    QString idNum;
    QString patient;
    ClaimOutcome outcome = ClaimOutcome::NotChecked;
    QStringList reasons;  ///< the problems; or why the file was not written
    QStringList warnings;
    QString file;         ///< the file written, when exported
};

struct FolderExportOptions {
    QString folder;
    /// Asked for each document whose file exists already: true replaces it. When
    /// unset, no existing file is ever replaced.
    std::function<bool(const QString& path)> replaceExisting;
    /// Told after each claim (its index from 0, the number of claims): the place
    /// for progress and for a window's yield; false stops the export there.
    std::function<bool(int index, int count, const ExportedClaim& claim)> afterClaim;
};

struct FolderExport {
    QList<ExportedClaim> claims; ///< every claim given, in order
    QString summaryFile;         ///< the summary CSV written into the folder
    bool stopped = false;
    int count(ClaimOutcome outcome) const;
};

/// One file per ready claim, named after its IDNum, and a summary of every claim
/// given (IDNum, patient, outcome, reasons, warnings) as a UTF-8 CSV
/// "ecf4-summary-<yyyyMMdd-hhmmss>.csv" (the time given; a free name is found if
/// it is taken). A file that cannot be written is named in its claim's reasons
/// and the export goes on. Throws FileOutputError when the folder is not there
/// (before any claim is checked) or the summary cannot be
/// written, and DatabaseError when the database fails (after writing the summary
/// of what was done, the failing claim marked with the error).
FolderExport exportToFolder(const Ecf4Session& session, const QStringList& idNums, const FolderExportOptions& options,
                            const QDateTime& startedAt);

} // namespace vantik::ecf4
