#pragma once

namespace vantik {

class FrmClaimWorklist;

/// The operations on the listed patients: opening a claim form and the batch checks.
/// Connects their buttons and menu items on the main window.
void installClaimWork(FrmClaimWorklist& window);

} // namespace vantik
