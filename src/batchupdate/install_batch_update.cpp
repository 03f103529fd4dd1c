#include "batchupdate/install_batch_update.h"

#include "batchupdate/frm_batch_update.h"
#include "worklist/frm_claim_worklist.h"

#include <QAction>
#include <QPushButton>

namespace vantik {

void installBatchUpdate(FrmClaimWorklist& window)
{
    // The menu item repeats the button.
    const auto open = [&window] { openBatchUpdate(window); };
    QObject::connect(window.cmdBatchUpdate, &QPushButton::clicked, &window, open);
    QObject::connect(window.mBatchUpdate, &QAction::triggered, &window, open);
}

} // namespace vantik
