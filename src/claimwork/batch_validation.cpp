#include "claimwork/batch_validation.h"

#include "claimwork/listed_rows.h"
#include "claimwork/open_claim_form.h"
#include "claimwork/row_progress.h"
#include "host/claimforms/claim_form_classes.h"
#include "host/ui/busy_guards.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_loop.h"
#include "host/user/current_user.h"
#include "worklist/current_claim_form.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/running_operation.h"

namespace vantik {

void cmdValidate_Click(FrmClaimWorklist& window, int index)
{
    if (index == 0) {
        try {
            validateCurrentRow(window);
        } catch (const std::exception& error) {
            showOperationError(window, error);
        }
    } else if (index == 1) {
        validateAllListed(window);
    }
}

void validateCurrentRow(FrmClaimWorklist& window)
{
    // Its own failures are shown by the opening itself; the check goes on regardless.
    openClaimForm(window);

    const std::shared_ptr<ClaimForm> form = claimFormOfCurrentRow(window);
    form->showEntry();
    const QString finding = form->verifydata();
    // Both lines are written once the check is done.
    window.pclsUser->addlog(QStringLiteral("Checking ") + currentIdNum(*window.Grid1), true);
    window.pclsUser->addlog(finding.isEmpty() ? QStringLiteral("...ok. ") : finding, true);
    window.services().messageLoop.yieldOnce();
    form->UnloadForm();
}

void validateAllListed(FrmClaimWorklist& window)
{
    window.stopFlag = false;
    const int lastRow = lastListedRow(*window.Grid1);
    try {
        // Guards inside the try: the pointer and the bar are back before an error shows.
        // The clerk may still press Stop: the busy arrow, not the hourglass.
        BusyPointer busy(Qt::BusyCursor);
        RunningOperation running(window);
        RowProgress progress(window, QStringLiteral("Validating"));
        for (int row = 1; row <= lastRow; ++row) {
            // Stop is seen here only, so the row in hand always runs to its end.
            if (window.stopFlag || !running.beforeRow(row))
                break;
            progress.show(row, lastRow);
            makeRowCurrent(*window.Grid1, row);
            validateCurrentRow(window);
        }
    } catch (const std::exception& error) {
        showOperationError(window, error);
    }
}

void checkRequirements(FrmClaimWorklist& window)
{
    try {
        const std::shared_ptr<ClaimForm> form = claimFormOfCurrentRow(window);
        window.pclsUser->addlog(QStringLiteral("Checking ") + currentIdNum(*window.Grid1), true);
        const bool valid = form->ValidateRequirements();
        window.pclsUser->addlog(valid ? QStringLiteral("Valid ") : QStringLiteral("Not Valid"), true);
        window.services().messageLoop.yieldOnce();
        form->UnloadForm();
    } catch (const std::exception& error) {
        showOperationError(window, error);
    }
}

} // namespace vantik
