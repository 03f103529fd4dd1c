#include "reports/claims_chart_plot.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBrush>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace vantik {

namespace {

constexpr double kLegendPoints = 7.0;
constexpr double kEmptyTextPoints = 10.0;
constexpr int kMostTicks = 8;

QFont scaled(QFont font, double points)
{
    font.setPointSizeF(points);
    return font;
}

} // namespace

CountAxis countAxis(double highest)
{
    if (!(highest > 0))
        return {1, 1};
    const double rough = highest / kMostTicks;
    int step = 1;
    if (rough > 1) {
        const double power = std::pow(10.0, std::floor(std::log10(rough)));
        for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
            if (factor * power >= rough) {
                step = int(factor * power);
                break;
            }
        }
    }
    const int top = int(std::ceil(highest / step)) * step;
    return {std::max(top, step), step};
}

QString chartRangeText(const QString& startDate, const QString& endDate)
{
    if (startDate.isEmpty() && endDate.isEmpty())
        return QStringLiteral("all months");
    if (startDate.isEmpty())
        return QStringLiteral("up to %1").arg(endDate);
    if (endDate.isEmpty())
        return QStringLiteral("from %1 on").arg(startDate);
    return QStringLiteral("%1 to %2").arg(startDate, endDate);
}

QString noClaimsText(const QString& startDate, const QString& endDate)
{
    if (startDate.isEmpty() && endDate.isEmpty())
        return QStringLiteral("No claims received.");
    if (startDate.isEmpty())
        return QStringLiteral("No claims received up to %1.").arg(endDate);
    if (endDate.isEmpty())
        return QStringLiteral("No claims received from %1 on.").arg(startDate);
    return QStringLiteral("No claims received from %1 to %2.").arg(startDate, endDate);
}

ClaimsChart::ClaimsChart()
    : m_empty(new QGraphicsSimpleTextItem(this))
{
    setMargins(QMargins(2, 2, 2, 2));
    setBackgroundRoundness(0);
    legend()->setVisible(true);
    legend()->setAlignment(Qt::AlignRight);
    m_empty->setBrush(QBrush(QColor(90, 90, 90)));
    m_empty->setZValue(10);
    m_empty->hide();
    applyFonts();
    connect(this, &QChart::plotAreaChanged, this, &ClaimsChart::placeEmptyText);
}

void ClaimsChart::setFontScale(double scale)
{
    m_fontScale = scale;
    applyFonts();
}

void ClaimsChart::applyFonts()
{
    const QFont small = scaled(legend()->font(), kLegendPoints * m_fontScale);
    legend()->setFont(small);
    for (QAbstractAxis* axis : axes())
        axis->setLabelsFont(small);
    QFont title = scaled(titleFont(), 11 * m_fontScale);
    title.setBold(true);
    setTitleFont(title);
    m_empty->setFont(scaled(small, kEmptyTextPoints * m_fontScale));
    placeEmptyText();
}

void ClaimsChart::plot(const ClaimsChartData& data, const QString& emptyText)
{
    removeAllSeries();
    for (QAbstractAxis* axis : axes())
        removeAxis(axis);

    auto* series = new QStackedBarSeries;
    std::vector<double> totals(std::size_t(data.months.size()), 0.0);
    for (int status = 0; status < data.statuses.size(); ++status) {
        auto* set = new QBarSet(data.statuses[status]);
        for (int month = 0; month < data.months.size(); ++month) {
            *set << data.counts[status][month];
            totals[month] += data.counts[status][month];
        }
        series->append(set);
    }
    addSeries(series);
    const double highest = totals.empty() ? 0.0 : *std::max_element(totals.begin(), totals.end());

    auto* months = new QBarCategoryAxis;
    months->append(data.months);
    months->setLabelsAngle(-90);
    addAxis(months, Qt::AlignBottom);
    series->attachAxis(months);

    // Counts are whole numbers: ticks at whole steps from 0, so that no label
    // repeats however small or large the counts are.
    const CountAxis ticks = countAxis(highest);
    auto* claims = new QValueAxis;
    claims->setRange(0, ticks.top);
    claims->setTickType(QValueAxis::TicksDynamic);
    claims->setTickAnchor(0);
    claims->setTickInterval(ticks.step);
    claims->setMinorTickCount(0);
    claims->setLabelFormat(QStringLiteral("%d"));
    addAxis(claims, Qt::AlignLeft);
    series->attachAxis(claims);

    m_empty->setText(data.months.isEmpty() ? emptyText : QString());
    m_empty->setVisible(data.months.isEmpty() && !emptyText.isEmpty());
    applyFonts();
}

QString ClaimsChart::emptyText() const
{
    return m_empty->isVisible() ? m_empty->text() : QString();
}

void ClaimsChart::placeEmptyText()
{
    const QRectF area = plotArea();
    const QRectF text = m_empty->boundingRect();
    m_empty->setPos(area.center().x() - text.width() / 2, area.center().y() - text.height() / 2);
}

} // namespace vantik
