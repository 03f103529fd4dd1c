#include "claimwork/row_progress.h"

#include "worklist/frm_claim_worklist.h"

#include <QStatusBar>

namespace vantik {

namespace {

constexpr qint64 kRepaintMs = 100;

} // namespace

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
    const bool due = !m_sincePainted.isValid() || m_sincePainted.elapsed() >= kRepaintMs || row == rows;
    m_bar->showMessage(QStringLiteral("%1: row %2 of %3").arg(m_task).arg(row).arg(rows));
    if (due) {
        m_bar->repaint();
        m_sincePainted.start();
    }
}

} // namespace vantik
