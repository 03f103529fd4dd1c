#pragma once

#include "claimwork/claim_work_statements.h"

namespace vantik {

class FrmClaimWorklist;

/// Writes the GU examination entry of every listed row that qualifies for the
/// marking: a new entry turns the row green, an overwritten one blue; each marked
/// admission gets a "Marked: " line on top of the activity log.
void MarkGUEntries(FrmClaimWorklist& window, claimwork::GuMarking marking);

} // namespace vantik
