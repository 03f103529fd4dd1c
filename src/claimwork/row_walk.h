#pragma once

namespace vantik {

class FrmClaimWorklist;

/// "Generate Update script for N/A": walks the current row over the list under
/// the Stop flag and does nothing else with the rows. Never yields.
void generateUpdateScript(FrmClaimWorklist& window);

} // namespace vantik
