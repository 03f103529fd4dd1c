#include "worklist/current_claim_form.h"

#include "host/claimforms/claim_form_classes.h"
#include "host/ui/flex_grid_widget.h"
#include "host/user/current_user.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/worklist_columns.h"

namespace vantik {

QString currentIdNum(const FlexGrid& grid)
{
    const int row = grid.currentRow();
    return row >= 1 ? grid.text(row, worklist::IdNum) : QString();
}

std::shared_ptr<ClaimForm> claimFormOfCurrentRow(FrmClaimWorklist& window)
{
    std::shared_ptr<ClaimForm> form = window.pclsUser->VODURIZevevar().clsCF4();
    form->IDNUM(currentIdNum(*window.Grid1));
    form->StationID(QStringLiteral("Worklist"));
    form->Title(QStringLiteral("CF4 Entries"));
    form->nonmodal(true);
    return form;
}

} // namespace vantik
