#pragma once

namespace vantik {

class FrmClaimWorklist;

/// Reports, the claims chart and the printing of the main window.
/// Connects their buttons and menu items on the main window.
void installReports(FrmClaimWorklist& window);

} // namespace vantik
