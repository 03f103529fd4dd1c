#pragma once

#include <QString>

#include <memory>

namespace vantik {

class ClaimForm;
class FlexGrid;
class FrmClaimWorklist;

/// The identifier of the worklist grid's current row; empty while the list has
/// no data row (the header's caption is no admission).
QString currentIdNum(const FlexGrid& grid);

/// A new claim-form object of the library, set up for the current row's entry as
/// the worklist opens it: IDNUM, StationID "Worklist", Title "CF4 Entries", nonmodal.
std::shared_ptr<ClaimForm> claimFormOfCurrentRow(FrmClaimWorklist& window);

} // namespace vantik
