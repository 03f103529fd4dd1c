#include "host/claimforms/grid_printer.h"

#include "host/claimforms/grid_print_layout.h"
#include "host/claimforms/print_text.h"
#include "host/component_error.h"
#include "host/ui/flex_grid.h"
#include "host/ui/ole_color.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace vantik {

namespace {

// Every size is in points so that paper and PDF come out alike whatever the
// printer's resolution; it is turned into device pixels once per print.
constexpr double kMarginMm = 10.0;
constexpr double kTitlePoints = 13.0;
constexpr double kSmallPoints = 8.0; // print time and footer
constexpr double kGapPoints = 6.0;   // below the page header, above the footer
constexpr double kLinePoints = 0.4;
const QColor kHeaderFill(225, 225, 225);
const QColor kLineColour(150, 150, 150);

QString printerDescription(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("the file \"%1\" cannot be written").arg(printer.outputFileName());
    if (printer.printerName().isEmpty())
        return QStringLiteral("no printer is available");
    return QStringLiteral("the printer \"%1\" is not available").arg(printer.printerName());
}

ComponentError printFailure(const QString& title, const QString& reason)
{
    return ComponentError(QStringLiteral("Cannot print \"%1\": %2.").arg(title, reason));
}

class GridPagePainter {
public:
    GridPagePainter(QPainter& painter, QPrinter& printer, const QString& title, const FlexGrid& grid,
                    const QDateTime& printedAt);

    int pageCount() const { return int(m_layout->pages().size()); }
    void paintPage(int page);

private:
    double points(double value) const { return value * m_pixelsPerPoint; }
    void paintPageHeader();
    void paintFooter(int page);
    double paintRow(const std::vector<int>& band, int row, double top);

    QPainter& m_painter;
    const FlexGrid& m_grid;
    QString m_title;
    QString m_printed;
    double m_pixelsPerPoint = 1;
    QSizeF m_page;
    QFont m_titleFont;
    QFont m_smallFont;
    double m_titleHeight = 0;
    double m_footerHeight = 0;
    double m_tableTop = 0;
    std::unique_ptr<GridPrintLayout> m_layout;
};

GridPagePainter::GridPagePainter(QPainter& painter, QPrinter& printer, const QString& title,
                                 const FlexGrid& grid, const QDateTime& printedAt)
    : m_painter(painter)
    , m_grid(grid)
    , m_title(oneLine(title))
    , m_printed(QStringLiteral("Printed ") + printedAt.toString(QStringLiteral("MM/dd/yyyy hh:mm AP")))
    , m_pixelsPerPoint(printer.resolution() / 72.0)
    , m_page(printer.pageLayout().paintRectPixels(printer.resolution()).size())
    , m_titleFont(printFont(kTitlePoints, true))
    , m_smallFont(printFont(kSmallPoints, false))
{
    m_titleHeight = QFontMetricsF(m_titleFont, &printer).height();
    m_footerHeight = QFontMetricsF(m_smallFont, &printer).height();
    m_tableTop = m_titleHeight + points(kGapPoints);
    const double tableBottom = m_page.height() - m_footerHeight - points(kGapPoints);
    m_layout = std::make_unique<GridPrintLayout>(grid, &printer, m_page.width(), tableBottom - m_tableTop);
}

void GridPagePainter::paintPage(int page)
{
    paintPageHeader();
    paintFooter(page);
    const GridPrintLayout::Page& at = m_layout->pages()[std::size_t(page - 1)];
    const std::vector<int>& band = m_layout->bands()[std::size_t(at.band)];
    if (band.empty())
        return;

    double top = paintRow(band, 0, m_tableTop);
    for (int row = at.firstRow; row <= at.lastRow; ++row)
        top = paintRow(band, row, top);

    // Column rules and the frame, once per page rather than once per cell.
    m_painter.setPen(QPen(kLineColour, points(kLinePoints)));
    m_painter.setBrush(Qt::NoBrush);
    double left = 0;
    for (std::size_t i = 0; i + 1 < band.size(); ++i) {
        left += m_layout->columns()[std::size_t(band[i])].width;
        m_painter.drawLine(QPointF(left, m_tableTop), QPointF(left, top));
    }
    left += m_layout->columns()[std::size_t(band.back())].width;
    m_painter.drawRect(QRectF(0, m_tableTop, left, top - m_tableTop));
}

void GridPagePainter::paintPageHeader()
{
    // A pen equal to the painter's default is not passed on to the engine, and
    // the PDF engine of a reused printer would keep the last colour of the print
    // before; a change forces black through.
    m_painter.setPen(Qt::NoPen);
    m_painter.setPen(Qt::black);
    m_painter.setFont(m_smallFont);
    const QFontMetricsF small(m_smallFont, m_painter.device());
    const double printedWidth = small.horizontalAdvance(m_printed);
    m_painter.drawText(QRectF(0, 0, m_page.width(), m_titleHeight), Qt::AlignRight | Qt::AlignVCenter, m_printed);

    const double titleRoom = std::max(0.0, m_page.width() - printedWidth - points(2 * kGapPoints));
    m_painter.setFont(m_titleFont);
    m_painter.drawText(QRectF(0, 0, titleRoom, m_titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                       QFontMetricsF(m_titleFont, m_painter.device()).elidedText(m_title, Qt::ElideRight, titleRoom));
}

void GridPagePainter::paintFooter(int page)
{
    const QRectF line(0, m_page.height() - m_footerHeight, m_page.width(), m_footerHeight);
    m_painter.setPen(Qt::black);
    m_painter.setFont(m_smallFont);
    m_painter.drawText(line, Qt::AlignCenter, QStringLiteral("Page %1 of %2").arg(page).arg(pageCount()));

    const GridPrintLayout::Page& at = m_layout->pages()[std::size_t(page - 1)];
    const int rows = m_layout->dataRowCount();
    if (rows > 0) {
        m_painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                           QStringLiteral("Rows %1\u2013%2 of %3").arg(at.firstRow).arg(at.lastRow).arg(rows));
    }
    const int bands = int(m_layout->bands().size());
    if (bands > 1) {
        m_painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                           QStringLiteral("Columns, part %1 of %2").arg(at.band + 1).arg(bands));
    }
}

double GridPagePainter::paintRow(const std::vector<int>& band, int row, double top)
{
    const bool header = row == 0;
    const double height = m_layout->rowHeight(row);
    const double lineHeight = m_layout->lineHeight();
    const double padding = m_layout->padding();
    const TextWidths& text = header ? m_layout->headerText() : m_layout->cellText();
    const QFontMetricsF& metrics = text.metrics();
    // The lines of a cell sit together in the middle of the row's first line
    // spacing; a taller row leaves the room below.
    const double firstBaseline = top + (height - lineHeight * std::floor(height / lineHeight)) / 2
                                 + (lineHeight - metrics.height()) / 2 + metrics.ascent();

    double left = 0;
    for (const int index : band)
        left += m_layout->columns()[std::size_t(index)].width;
    if (header)
        m_painter.fillRect(QRectF(0, top, left, height), kHeaderFill);

    m_painter.setFont(text.font());
    m_painter.setPen(Qt::black);
    left = 0;
    for (const int index : band) {
        const GridPrintLayout::Column& column = m_layout->columns()[std::size_t(index)];
        if (!header) {
            const OleColor background = m_grid.background(row, column.gridColumn);
            if (background != kOleWhite)
                m_painter.fillRect(QRectF(left, top, column.width, height), oleToColor(background));
        }
        if (!m_grid.text(row, column.gridColumn).isEmpty()) {
            const QStringList lines = m_layout->cellLines(row, index);
            double baseline = firstBaseline;
            for (const QString& line : lines) {
                if (!line.isEmpty()) {
                    const double indent = column.number && !header
                                              ? column.width - padding - text.width(line)
                                              : padding;
                    m_painter.drawText(QPointF(left + indent, baseline), line);
                }
                baseline += lineHeight;
            }
        }
        left += column.width;
    }
    m_painter.setPen(QPen(kLineColour, points(kLinePoints)));
    m_painter.drawLine(QPointF(0, top + height), QPointF(left, top + height));
    return top + height;
}

} // namespace

void preparePageForGrid(QPrinter& printer, const FlexGrid& grid)
{
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
    printer.setPageOrientation(QPageLayout::Portrait);
    const double portraitWidth = printer.pageLayout().paintRectPixels(printer.resolution()).width();
    if (GridPrintLayout::naturalWidth(grid, &printer) > portraitWidth)
        printer.setPageOrientation(QPageLayout::Landscape);
}

int paintGrid(QPrinter& printer, const QString& title, const FlexGrid& grid, const QDateTime& printedAt)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw printFailure(title, printerDescription(printer));

    GridPagePainter pages(painter, printer, title, grid, printedAt);
    for (int page = 1; page <= pages.pageCount(); ++page) {
        if (page > 1 && !printer.newPage())
            throw printFailure(title, QStringLiteral("page %1 could not be started").arg(page));
        pages.paintPage(page);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw printFailure(title, printerDescription(printer));
    return pages.pageCount();
}

int printGrid(QPrinter& printer, const QString& title, const FlexGrid& grid, const QDateTime& printedAt)
{
    preparePageForGrid(printer, grid);
    return paintGrid(printer, title, grid, printedAt);
}

} // namespace vantik
