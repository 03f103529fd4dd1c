#include "reports/install_reports.h"

#include "worklist/frm_claim_worklist.h"

namespace vantik {

void installReports(FrmClaimWorklist& window)
{
    (void)window;
}

} // namespace vantik
