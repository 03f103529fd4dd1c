#pragma once

namespace vantik {

class FrmClaimWorklist;

/// Opens the claim-form entry window of the worklist grid's current row through
/// the claim-form library. Errors end it with a message; none escapes.
void openClaimForm(FrmClaimWorklist& window);

/// The grid's double-click and Enter: the same under the hourglass with the grid
/// disabled, after letting the pointer show.
void openClaimFormFromGrid(FrmClaimWorklist& window);

} // namespace vantik
