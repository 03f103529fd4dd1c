#pragma once

#include <QWidget>

class QPushButton;

namespace vantik {

class FlexGrid;
class FlexGridWidget;
class FrmClaimWorklist;

/// The accomplishment report window: one per run while it is open, created by
/// the first build and discarded when closed. It stands beside the main window
/// without blocking it and reaches the current-user component through it.
class FrmReport : public QWidget {
    Q_OBJECT
public:
    explicit FrmReport(FrmClaimWorklist& main);

    /// False once the window was closed (it is then on its way out).
    bool isOpen() const { return m_open; }

    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdClose = nullptr; // hidden; Esc runs it
    FlexGridWidget* Grid2 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    FrmClaimWorklist& m_main;
    bool m_open = true;
};

/// The open report window of the main window, or null.
FrmReport* reportWindow(FrmClaimWorklist& main);

/// Refreshes the worklist in its sorted form and reports, service by service and
/// doctor by doctor, how many rows are Complete and Incomplete. doctorColumn is
/// the worklist column naming the doctor (Doctor1 or AdmittingDr).
void BuildAccomplishmentReport(FrmClaimWorklist& main, int doctorColumn);

/// The report grid's header and rows for the rows the worklist grid holds. The
/// service and doctor columns get their designed widths, or more where a text
/// needs it to show whole.
void fillAccomplishmentReport(FlexGridWidget& report, const FlexGrid& worklist, int doctorColumn);

} // namespace vantik
