#pragma once

// What the windows tell the clerk about a pass or an export over the listed
// claims, in one place so that the texts do not drift apart between windows.

#include "ecf4/ecf4.h"

#include <QString>

namespace vantik::ecf4 {

/// The activity-log line of a claim that is not ready:
/// "26000123 Dela Cruz, Juan: eCF4 not ready: Patient PIN: missing; ...".
QString notReadyLine(const Verdict& verdict);

/// The closing line of a pass: "eCF4 checked: 7 of 9 claims ready" (with
/// "stopped after n of N" when the clerk stopped it).
QString passTotalLine(int checked, int ready, int listed);

/// The message at the end of a folder export: how many files were written and
/// where, how many claims were refused, each file that could not be written
/// with its reason, whether the clerk stopped it, and the summary's name.
QString folderExportReport(const FolderExport& result, const QString& folder);

} // namespace vantik::ecf4
