#pragma once

namespace vantik {

class FrmClaimWorklist;

/// "Check Days Used" (either button): the library's days-used window for the
/// patient of the current row.
void checkDaysUsed(FrmClaimWorklist& window);

/// "Check HT/WT": colours each listed identifier cell by whether its height and
/// weight are recorded. Never yields.
void checkHeightWeight(FrmClaimWorklist& window);

/// "Count Course in the ward": one user-log line "<id> <count>" per listed row.
void countCourseNotes(FrmClaimWorklist& window);

} // namespace vantik
