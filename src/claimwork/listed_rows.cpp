#include "claimwork/listed_rows.h"

#include "host/claimforms/claim_form_classes.h"
#include "host/component_error.h"
#include "host/ui/flex_grid.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/ui/paced_log.h"
#include "host/user/current_user.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/worklist_columns.h"

namespace vantik {

QString currentHospNum(const FlexGrid& grid)
{
    const int row = grid.currentRow();
    return row >= 1 ? grid.text(row, worklist::HospNum) : QString();
}

int lastListedRow(const FlexGrid& grid)
{
    return grid.rowCount() - 1;
}

void makeCellCurrent(FlexGrid& grid, int row, int column)
{
    if (row < 1 || row >= grid.rowCount()) {
        throw ComponentError(
            QStringLiteral("The list changed while the operation ran: row %1 is no longer in it.").arg(row));
    }
    grid.setCurrent(row, column);
}

void makeRowCurrent(FlexGrid& grid, int row)
{
    makeCellCurrent(grid, row, grid.currentColumn());
}

void colourCurrentRow(FrmClaimWorklist& window, OleColor color)
{
    window.pclsUser->VODURIZevevar().clsCF4()->SetRowColor(*window.Grid1, window.Grid1->currentRow(), color);
}

void prependLogLine(QPlainTextEdit& log, const QString& line)
{
    pacedPrepend(log, line);
}

void showOperationError(FrmClaimWorklist& window, const std::exception& error)
{
    window.services().messages.warning(&window, errorDescription(error));
}

} // namespace vantik
