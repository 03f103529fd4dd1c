#include "claimwork/open_claim_form.h"

#include "host/claimforms/claim_form_classes.h"
#include "host/component_error.h"
#include "host/ui/busy_guards.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/ui/message_loop.h"
#include "host/user/current_user.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/worklist_columns.h"

namespace vantik {

void openClaimForm(FrmClaimWorklist& window)
{
    try {
        const std::shared_ptr<ClaimForm> form = window.pclsUser->VODURIZevevar().clsCF4();
        // An empty list has no data row, only the header: no admission is selected.
        const int row = window.Grid1->currentRow();
        form->IDNUM(row >= 1 ? window.Grid1->text(row, worklist::IdNum) : QString());
        form->StationID(QStringLiteral("Worklist"));
        form->Title(QStringLiteral("CF4 Entries"));
        form->nonmodal(true);
        form->showEntry();
    } catch (const std::exception& error) {
        // The hint follows the description directly, as the clerks know it.
        window.services().messages.information(&window, errorDescription(error) + QStringLiteral("update vodurizevevar."));
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
