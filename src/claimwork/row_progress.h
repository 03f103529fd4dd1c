#pragma once

#include "host/ui/repaint_pacer.h"

#include <QString>

class QStatusBar;

namespace vantik {

class FrmClaimWorklist;

/// "<Task>: row n of N" in the main window's status bar while a walk over the
/// list runs, cleared when it ends. The walk is a batch (BatchScope): the window
/// shows the latest row at the pacer's frames, also in the walks that never
/// yield, and its final state as soon as the walk ends.
class RowProgress {
public:
    RowProgress(FrmClaimWorklist& window, QString task);
    ~RowProgress();
    RowProgress(const RowProgress&) = delete;
    RowProgress& operator=(const RowProgress&) = delete;

    void show(int row, int rows);

private:
    BatchScope m_batch;
    QStatusBar* m_bar;
    QString m_task;
};

} // namespace vantik
