#include "batchupdate/install_batch_update.h"

#include "worklist/frm_claim_worklist.h"

namespace vantik {

void installBatchUpdate(FrmClaimWorklist& window)
{
    (void)window;
}

} // namespace vantik
