#include "worklist/running_operation.h"

#include "host/component_error.h"
#include "host/data/connection.h"
#include "host/user/current_user.h"
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
    if (m_window.operationRunning())
        return;
    // What the batch saved goes from the write-ahead log into the database files,
    // so that a copy of the files made now, or after a crash, holds it.
    try {
        if (m_window.pclsUser)
            m_window.pclsUser->sqlconnection().checkpoint();
    } catch (const std::exception&) {
        // Not connected: there is nothing to write back.
    }
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
