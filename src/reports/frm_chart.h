#pragma once

#include "reports/claims_chart_data.h"

#include <QSize>
#include <QWidget>

class QAction;
class QBarSet;
class QChartView;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantik {

class ClaimsChart;
class FrmClaimWorklist;

/// The claims chart window: electronic claims by month received and status for
/// a date range. One per run while it is open; it stands beside the main window
/// without blocking it and runs its statement on the main window's connection.
class FrmChart : public QWidget {
    Q_OBJECT
public:
    /// Fills the date boxes from the main window's kept dates (today when none).
    explicit FrmChart(FrmClaimWorklist& main);

    /// False once the window was closed (it is then on its way out).
    bool isOpen() const { return m_open; }

    /// "Refresh": builds the statement from the date boxes, shows it in Text1 and
    /// charts its result. A failure is reported; the last chart stays.
    void refresh();
    /// The chart as charted last, drawn afresh at the size under its title and
    /// date range: PNG, SVG or PDF by the file's extension. Throws ChartImageError.
    void saveImage(const QString& path, QSize size) const;
    /// What the chart shows now.
    const ClaimsChartData& data() const { return m_data; }

    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtStartDate = nullptr;
    QLineEdit* txtEndDate = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QLineEdit* Text1 = nullptr;
    QChartView* MSChart1 = nullptr;
    /// "Save image…" (context menu of the chart, Ctrl+S): asks for the size and
    /// the file.
    QAction* mSaveImage = nullptr;
    ClaimsChart* chart() const { return m_chart; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showData(ClaimsChartData data);
    void showValue(bool hovering, int month, QBarSet* status);
    void askAndSaveImage();

    FrmClaimWorklist& m_main;
    ClaimsChart* m_chart = nullptr;
    ClaimsChartData m_data;
    QString m_chartedStart; // the date boxes as they were at the last refresh
    QString m_chartedEnd;
    QSize m_imageSize{1600, 900};
    bool m_open = true;
};

/// The open chart window of the main window, or null.
FrmChart* chartWindow(FrmClaimWorklist& main);

/// "Chart": shows the chart window, creating it on first use.
void showChartWindow(FrmClaimWorklist& main);

} // namespace vantik
