#pragma once

namespace vantik {

class FrmClaimWorklist;

/// The drug batch update window, opened from the main window.
/// Connects their buttons and menu items on the main window.
void installBatchUpdate(FrmClaimWorklist& window);

} // namespace vantik
