#pragma once

#include <QElapsedTimer>
#include <QString>

class QStatusBar;

namespace vantik {

class FrmClaimWorklist;

/// "<Task>: row n of N" in the main window's status bar while a walk over the
/// list runs, cleared when it ends. The bar is painted at once, because the walks
/// that never yield would otherwise show nothing until they end; on long lists it
/// is painted a few times a second, not per row.
class RowProgress {
public:
    RowProgress(FrmClaimWorklist& window, QString task);
    ~RowProgress();
    RowProgress(const RowProgress&) = delete;
    RowProgress& operator=(const RowProgress&) = delete;

    void show(int row, int rows);

private:
    QStatusBar* m_bar;
    QString m_task;
    QElapsedTimer m_sincePainted;
};

} // namespace vantik
