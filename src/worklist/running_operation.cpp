#include "worklist/running_operation.h"

#include "host/component_error.h"
#include "host/ui/flex_grid_widget.h"
#include "worklist/frm_claim_worklist.h"

namespace vantik {

RunningOperation::RunningOperation(FrmClaimWorklist& window)
    : m_window(window)
    , m_list(window.Grid1->contentGeneration())
{
    m_window.operationStarted();
}

RunningOperation::~RunningOperation()
{
    m_window.operationEnded();
}

bool RunningOperation::beforeRow(int row) const
{
    if (m_window.closeRequested())
        return false;
    if (m_window.Grid1->contentGeneration() != m_list) {
        throw ComponentError(
            QStringLiteral("The list changed while the operation ran: row %1 is no longer in it.").arg(row));
    }
    return true;
}

void RunningOperation::takeCurrentList()
{
    m_list = m_window.Grid1->contentGeneration();
}

} // namespace vantik
