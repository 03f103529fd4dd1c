#include "claimwork/listed_checks.h"

#include "claimwork/claim_work_statements.h"
#include "claimwork/listed_rows.h"
#include "claimwork/row_progress.h"
#include "host/claimforms/claim_form_classes.h"
#include "host/data/recordset.h"
#include "host/ui/busy_guards.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_loop.h"
#include "host/user/current_user.h"
#include "worklist/current_claim_form.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/running_operation.h"
#include "worklist/worklist_columns.h"

#include <QPlainTextEdit>

namespace vantik {

using claimwork::courseCountStatement;
using claimwork::heightWeightColor;
using claimwork::heightWeightStatement;

void checkDaysUsed(FrmClaimWorklist& window)
{
    try {
        const QString hospNum = currentHospNum(*window.Grid1);
        const QString idNum = currentIdNum(*window.Grid1);
        window.pclsUser->VODURIZevevar().SetPatient(hospNum, idNum, QString(), false);
        window.pclsUser->VODURIZevevar().insurance().ShowForm();
    } catch (const std::exception& error) {
        showOperationError(window, error);
    }
}

void checkHeightWeight(FrmClaimWorklist& window)
{
    try {
        BusyPointer busy;
        RunningOperation running(window);
        RowProgress progress(window, QStringLiteral("Checking height and weight"));
        FlexGrid& grid = *window.Grid1;
        Connection& connection = window.pclsUser->sqlconnection();
        const int lastRow = lastListedRow(grid);
        Recordset history;
        for (int row = 1; row <= lastRow; ++row) {
            if (!running.beforeRow(row))
                break;
            progress.show(row, lastRow);
            history.open(heightWeightStatement(grid.text(row, worklist::IdNum)), connection, CursorType::ForwardOnly,
                         LockType::ReadOnly);
            makeCellCurrent(grid, row, worklist::IdNum);
            // Only the first record decides.
            const bool found = !history.eof();
            const QString height = found ? history.field(QStringLiteral("Height")) : QString();
            const QString weight = found ? history.field(QStringLiteral("Weight")) : QString();
            grid.setCellBackground(heightWeightColor(found, height, weight));
            history.close();
        }
    } catch (const std::exception& error) {
        showOperationError(window, error);
    }
}

void countCourseNotes(FrmClaimWorklist& window)
{
    window.txtLog->clear();
    try {
        DisabledGrid disabled(*window.Grid1);
        BusyPointer busy(Qt::BusyCursor);
        RunningOperation running(window);
        RowProgress progress(window, QStringLiteral("Counting course notes"));
        FlexGrid& grid = *window.Grid1;
        Connection& connection = window.pclsUser->sqlconnection();
        const int lastRow = lastListedRow(grid);
        Recordset count;
        for (int row = 1; row <= lastRow; ++row) {
            if (!running.beforeRow(row))
                break;
            progress.show(row, lastRow);
            makeRowCurrent(grid, row);
            const QString idNum = grid.text(row, worklist::IdNum);
            count.open(courseCountStatement(idNum), connection, CursorType::Dynamic, LockType::Optimistic);
            for (; !count.eof(); count.moveNext())
                window.pclsUser->addlog(idNum + QLatin1Char(' ') + count.field(0));
            count.close();
            window.services().messageLoop.yieldOnce();
        }
    } catch (const std::exception& error) {
        showOperationError(window, error);
    }
}

} // namespace vantik
