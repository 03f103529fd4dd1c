#pragma once

#include <QObject>
#include <QPointer>

namespace vantik {

class FrmChart;
class FrmClaimWorklist;
class FrmReport;

/// The report and chart windows of one main window. They are windows of their
/// own, not owned by the main window, so that the program runs on while any of
/// them is open after the main window was closed; they go when the main window
/// goes.
class ReportsWindows : public QObject {
    Q_OBJECT
public:
    /// The windows of this main window (kept as its child object).
    static ReportsWindows& of(FrmClaimWorklist& main);
    ~ReportsWindows() override;

    QPointer<FrmReport> report;
    QPointer<FrmChart> chart;

private:
    explicit ReportsWindows(QObject* parent);
};

} // namespace vantik
