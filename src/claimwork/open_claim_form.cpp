#include "claimwork/open_claim_form.h"

#include "host/claimforms/claim_form_classes.h"
#include "host/component_error.h"
#include "host/ui/busy_guards.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/ui/message_loop.h"
#include "worklist/current_claim_form.h"
#include "worklist/frm_claim_worklist.h"

namespace vantik {

void openClaimForm(FrmClaimWorklist& window)
{
    try {
        claimFormOfCurrentRow(window)->showEntry();
    } catch (const std::exception& error) {
        // The hint follows the description directly, as the clerks know it.
        window.services().messages.warning(&window, errorDescription(error) + QStringLiteral("update vodurizevevar."));
    }
}

void openClaimFormFromGrid(FrmClaimWorklist& window)
{
    BusyPointer busy;
    DisabledGrid disabled(*window.Grid1);
    window.services().messageLoop.yieldOnce();
    openClaimForm(window);
}

} // namespace vantik
