#include "claimwork/install_claim_work.h"

#include "worklist/frm_claim_worklist.h"

namespace vantik {

void installClaimWork(FrmClaimWorklist& window)
{
    (void)window;
}

} // namespace vantik
