#pragma once

namespace vantik {

class FrmClaimWorklist;

/// "&Validate" (index 0) on the current row, "All  Listed: &Validate Requirements"
/// (index 1) over the list; another index does nothing.
void cmdValidate_Click(FrmClaimWorklist& window, int index);

/// Opens and checks the claim form of the current row and writes its two lines
/// to the user log. Library errors escape to the caller.
void validateCurrentRow(FrmClaimWorklist& window);

/// Validates every listed row in order until the list ends or Stop is pressed;
/// an error ends the walk with a message.
void validateAllListed(FrmClaimWorklist& window);

/// "&Validate2": the requirement check of the current row, without its entry window.
void checkRequirements(FrmClaimWorklist& window);

} // namespace vantik
