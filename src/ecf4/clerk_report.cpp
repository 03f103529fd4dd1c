#include "ecf4/clerk_report.h"

#include <QDir>

namespace vantik::ecf4 {

QString notReadyLine(const Verdict& verdict)
{
    QString who = verdict.idNum;
    if (!verdict.patient.isEmpty())
        who += QLatin1Char(' ') + verdict.patient;
    return who + QStringLiteral(": eCF4 not ready: ") + verdict.problems.join(QStringLiteral("; "));
}

QString passTotalLine(int checked, int ready, int listed)
{
    QString line = QStringLiteral("eCF4 checked: %1 of %2 claims ready").arg(ready).arg(checked);
    if (checked < listed)
        line += QStringLiteral(" (stopped after %1 of %2)").arg(checked).arg(listed);
    return line;
}

QString folderExportReport(const FolderExport& result, const QString& folder)
{
    const int exported = result.count(ClaimOutcome::Exported);
    const int refused = result.count(ClaimOutcome::Refused);
    QStringList lines;
    lines << QStringLiteral("%1 eCF4 file(s) exported to %2.").arg(exported).arg(QDir::toNativeSeparators(folder));
    lines << QStringLiteral("%1 claim(s) refused: they are not ready.").arg(refused);
    // A ready claim without its file is what the clerk must act on: each one by name.
    for (const ExportedClaim& claim : result.claims) {
        if (claim.outcome == ClaimOutcome::Ready)
            lines << QStringLiteral("Not written: %1: %2").arg(claim.idNum, claim.reasons.join(QStringLiteral("; ")));
    }
    if (result.stopped) {
        lines << QStringLiteral("The export was stopped: %1 of %2 claim(s) not checked.")
                     .arg(result.count(ClaimOutcome::NotChecked))
                     .arg(result.claims.size());
    }
    lines << QStringLiteral("Summary: %1").arg(QDir::toNativeSeparators(result.summaryFile));
    return lines.join(QLatin1Char('\n'));
}

} // namespace vantik::ecf4
