#pragma once

#include <QtGlobal>

namespace vantik {

class FrmClaimWorklist;

/// A batch operation over the listed rows, for as long as it runs. The main window
/// knows that one runs: closing it asks first and lets the operation stop at its
/// next row, and a list replaced meanwhile (a refresh or the report's re-sort
/// during a yield) stops it there too, so that no row of a list the clerk no
/// longer sees is worked on. When the last one ends, the connection writes its
/// log back into the database files (Connection::checkpoint).
class RunningOperation {
public:
    explicit RunningOperation(FrmClaimWorklist& window);
    ~RunningOperation();
    RunningOperation(const RunningOperation&) = delete;
    RunningOperation& operator=(const RunningOperation&) = delete;

    /// Before each row: false when the window is to close (the operation ends
    /// quietly, what it saved stays saved). Throws ComponentError naming the row
    /// when the list has been replaced since the operation took it.
    bool beforeRow(int row) const;
    /// The operation works on the list as it is now (it reads the list only after
    /// its first yield).
    void takeCurrentList();

private:
    FrmClaimWorklist& m_window;
    quint64 m_list;
};

} // namespace vantik
