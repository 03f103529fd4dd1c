#pragma once

namespace vantik {

class FrmClaimWorklist;

/// "Import " of the import panel: loads the doctor orders of the typed admission
/// and imports them through the library, colouring the worklist's current row
/// red (nothing found), green (orders added) or pale blue (nothing new).
void importAllOrders(FrmClaimWorklist& window);

/// "Save ALL Listed Patients Orders to Course in the Ward": switched off.
void saveAllOrders(FrmClaimWorklist& window);

} // namespace vantik
