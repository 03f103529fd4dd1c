#include "reports/reports_windows.h"

#include "reports/frm_chart.h"
#include "reports/frm_report.h"
#include "worklist/frm_claim_worklist.h"

namespace vantik {

ReportsWindows::ReportsWindows(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("reportsWindows"));
}

ReportsWindows::~ReportsWindows()
{
    delete report.data();
    delete chart.data();
}

ReportsWindows& ReportsWindows::of(FrmClaimWorklist& main)
{
    if (auto* windows = main.findChild<ReportsWindows*>(QStringLiteral("reportsWindows"), Qt::FindDirectChildrenOnly))
        return *windows;
    return *new ReportsWindows(&main);
}

} // namespace vantik
