#include "claimwork/row_progress.h"

#include "worklist/frm_claim_worklist.h"

#include <QStatusBar>

namespace vantik {

RowProgress::RowProgress(FrmClaimWorklist& window, QString task)
    : m_bar(window.statusBar())
    , m_task(std::move(task))
{
}

RowProgress::~RowProgress()
{
    m_bar->clearMessage();
}

void RowProgress::show(int row, int rows)
{
    // The text is set at every row, which costs little; only its painting waits.
    m_bar->showMessage(QStringLiteral("%1: row %2 of %3").arg(m_task).arg(row).arg(rows));
    RepaintPacer::instance().paintIfDue();
}

} // namespace vantik
