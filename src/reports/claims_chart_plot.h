#pragma once

#include "reports/claims_chart_data.h"

#include <QChart>

class QGraphicsSimpleTextItem;

namespace vantik {

/// The value axis of a count: whole-number ticks from 0 to top, step apart.
struct CountAxis {
    int top = 1;
    int step = 1;
};

/// Ticks for counts up to highest: steps of 1, 2 or 5 times a power of ten,
/// at most about eight of them, the top a whole number of steps. An empty
/// chart reads 0 and 1.
CountAxis countAxis(double highest);

/// "11/01/2026 to 11/30/2026" for the date boxes of a chart; an empty box
/// leaves its end of the range open.
QString chartRangeText(const QString& startDate, const QString& endDate);

/// What the plot says when the range holds no claim: "No claims received
/// from <start> to <end>."
QString noClaimsText(const QString& startDate, const QString& endDate);

/// The claims chart: one stacked bar per month, one series per claim status,
/// the legend beside it, and in the middle of an empty plot the reason it is
/// empty. The window shows one; a saved image draws another at its own size.
class ClaimsChart : public QChart {
    Q_OBJECT
public:
    ClaimsChart();

    /// Replaces what the chart shows; emptyText appears when data has no month.
    void plot(const ClaimsChartData& data, const QString& emptyText);
    /// Fonts at this many times their size on screen, for a large image.
    void setFontScale(double scale);

    /// The text shown in the plot (empty while there is data).
    QString emptyText() const;

private:
    void placeEmptyText();
    void applyFonts();

    QGraphicsSimpleTextItem* m_empty;
    double m_fontScale = 1.0;
};

} // namespace vantik
