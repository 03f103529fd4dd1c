#include "claimwork/row_walk.h"

#include "claimwork/listed_rows.h"
#include "claimwork/row_progress.h"
#include "host/ui/busy_guards.h"
#include "host/ui/flex_grid_widget.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/running_operation.h"

namespace vantik {

void generateUpdateScript(FrmClaimWorklist& window)
{
    window.stopFlag = false;
    try {
        BusyPointer busy;
        RunningOperation running(window);
        RowProgress progress(window, QStringLiteral("Walking the list"));
        const int lastRow = lastListedRow(*window.Grid1);
        for (int row = 1; row <= lastRow; ++row) {
            if (window.stopFlag || !running.beforeRow(row))
                break;
            progress.show(row, lastRow);
            makeRowCurrent(*window.Grid1, row);
        }
    } catch (const std::exception& error) {
        showOperationError(window, error);
    }
}

} // namespace vantik
