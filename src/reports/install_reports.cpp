#include "reports/install_reports.h"

#include "reports/frm_chart.h"
#include "reports/frm_report.h"
#include "reports/printing.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/worklist_columns.h"

#include <QAction>
#include <QPushButton>

namespace vantik {

void installReports(FrmClaimWorklist& window)
{
    FrmClaimWorklist* main = &window;
    // mPrintList already clicks cmdPrintList: one handler serves both.
    QObject::connect(window.cmdPrintList, &QPushButton::clicked, main, [main] { printWorklist(*main); });
    QObject::connect(window.cmdPrint, &QPushButton::clicked, main, [main] { printClaimEntry(*main); });
    QObject::connect(window.mAccomplismentReport, &QAction::triggered, main,
                     [main] { BuildAccomplishmentReport(*main, worklist::Doctor1); });
    QObject::connect(window.mAccomplismentReport2, &QAction::triggered, main,
                     [main] { BuildAccomplishmentReport(*main, worklist::AdmittingDr); });
    QObject::connect(window.mChart, &QAction::triggered, main, [main] { showChartWindow(*main); });
}

} // namespace vantik
