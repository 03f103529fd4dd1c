#include "claimwork/gu_marking.h"

#include "claimwork/listed_rows.h"
#include "claimwork/row_progress.h"
#include "host/claimforms/claim_form_classes.h"
#include "host/component_error.h"
#include "host/data/recordset.h"
#include "host/ui/busy_guards.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/ui/message_loop.h"
#include "host/user/current_user.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/running_operation.h"
#include "worklist/worklist_columns.h"

#include <QPlainTextEdit>

namespace vantik {

using claimwork::GuMarking;

void MarkGUEntries(FrmClaimWorklist& window, GuMarking marking)
{
    window.txtLog->clear();
    QString idNum; // the admission in hand, for the error message
    try {
        DisabledGrid disabled(*window.Grid1);
        BusyPointer busy(Qt::BusyCursor);
        RunningOperation running(window);
        RowProgress progress(window, QStringLiteral("Marking GU entries"));
        FlexGrid& grid = *window.Grid1;
        const int lastRow = lastListedRow(grid);
        Recordset entry;
        for (int row = 1; row <= lastRow; ++row) {
            idNum.clear();
            if (!running.beforeRow(row))
                break;
            progress.show(row, lastRow);
            makeRowCurrent(grid, row);
            colourCurrentRow(window, kOleWhite);
            if (claimwork::qualifiesForGuMarking(marking, grid.text(row, worklist::Sex),
                                                 grid.text(row, worklist::IsChemo),
                                                 grid.text(row, worklist::IsHemoDialysis))) {
                idNum = grid.text(row, worklist::IdNum);
                entry.open(claimwork::guEntryStatement(idNum), window.pclsUser->sqlconnection(), CursorType::Dynamic,
                           LockType::Optimistic);
                const bool isNew = entry.eof();
                if (isNew) {
                    entry.addNew();
                    entry.setField(QStringLiteral("IDNum"), idNum);
                    entry.setField(QStringLiteral("AreaCat"), QStringLiteral("PhysicalExam"));
                    entry.setField(QStringLiteral("AreaSubCat"), QStringLiteral("GU(IE)"));
                    entry.setField(QStringLiteral("Description"), QStringLiteral("OTHERS"));
                }
                // With two entries only the first one is overwritten.
                entry.setField(QStringLiteral("Code"), QStringLiteral("X"));
                entry.setField(QStringLiteral("Result"), QStringLiteral("1"));
                entry.setField(QStringLiteral("Remarks"), claimwork::guRemark(marking));
                entry.update();
                entry.close();
                // Coloured once saved: a refused save must not leave the row saying otherwise.
                colourCurrentRow(window, isNew ? kOleGreen : kOleBlue);
                prependLogLine(*window.txtLog, QStringLiteral("Marked: ") + idNum);
            }
            window.services().messageLoop.yieldOnce();
        }
    } catch (const std::exception& error) {
        QString text = errorDescription(error);
        if (!idNum.isEmpty())
            text += QStringLiteral("\n\nThe marking stopped at IDNum %1.").arg(idNum);
        window.services().messages.warning(&window, text);
    }
}

} // namespace vantik
