#include "host/claimforms/grid_printer.h"

#include "host/component_error.h"
#include "host/ui/flex_grid.h"
#include "host/ui/ole_color.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vantik {

namespace {

// Every size is in points so that paper and PDF come out alike whatever the
// printer's resolution; it is turned into device pixels once per print.
constexpr double kMarginMm = 10.0;
constexpr double kTwipsPerPoint = 20.0;
constexpr double kTitlePoints = 13.0;
constexpr double kCellPoints = 9.0;
// A grid far wider than the paper gets a smaller font along with its narrow
// columns, but never one too small to read.
constexpr double kSmallestCellPoints = 6.0;
constexpr double kFooterPoints = 8.0;
constexpr double kRowSpacing = 1.35; // row height per line height
constexpr double kCellPaddingPoints = 2.0;
constexpr double kGapPoints = 6.0;   // below the page header, above the footer
constexpr double kLinePoints = 0.4;
const QColor kHeaderFill(225, 225, 225);
const QColor kLineColour(150, 150, 150);

struct PrintColumn {
    int index = 0;
    double left = 0;  // device pixels from the table's left edge
    double width = 0;
};

/// Visible columns with their widths in twips, in grid order.
std::vector<std::pair<int, int>> visibleColumns(const FlexGrid& grid)
{
    std::vector<std::pair<int, int>> columns;
    for (int column = 0; column < grid.columnCount(); ++column) {
        const int twips = grid.columnWidth(column);
        if (twips > 0)
            columns.emplace_back(column, twips);
    }
    return columns;
}

double totalTwips(const std::vector<std::pair<int, int>>& columns)
{
    double total = 0;
    for (const auto& column : columns)
        total += column.second;
    return total;
}

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

/// A cell's text on one line: line breaks and tabs would otherwise run into
/// the next row.
QString oneLine(QString text)
{
    for (QChar& character : text) {
        if (character.unicode() < 0x20)
            character = QLatin1Char(' ');
    }
    return text;
}

class GridPagePainter {
public:
    GridPagePainter(QPainter& painter, QPrinter& printer, const QString& title, const FlexGrid& grid,
                    const QDateTime& printedAt);

    int pageCount() const { return m_pageCount; }
    void paintPage(int page);

private:
    double points(double value) const { return value * m_pixelsPerPoint; }
    QFont fontOf(double pointSize, bool bold) const;
    void paintPageHeader();
    void paintFooter(int page);
    void paintRow(int row, double top, bool header);

    QPainter& m_painter;
    const FlexGrid& m_grid;
    QString m_title;
    QString m_printed;
    double m_pixelsPerPoint = 1;
    QSizeF m_page;
    std::vector<PrintColumn> m_columns;
    double m_tableWidth = 0;

    QFont m_titleFont;
    QFont m_cellFont;
    QFont m_headerFont;
    QFont m_footerFont;
    QFontMetricsF m_titleMetrics;
    QFontMetricsF m_cellMetrics;
    QFontMetricsF m_headerMetrics;
    QFontMetricsF m_footerMetrics;

    double m_rowHeight = 0;
    double m_tableTop = 0;
    int m_dataRows = 0;
    int m_rowsPerPage = 1;
    int m_pageCount = 1;
};

GridPagePainter::GridPagePainter(QPainter& painter, QPrinter& printer, const QString& title,
                                 const FlexGrid& grid, const QDateTime& printedAt)
    : m_painter(painter)
    , m_grid(grid)
    , m_title(oneLine(title))
    , m_printed(QStringLiteral("Printed ") + printedAt.toString(QStringLiteral("MM/dd/yyyy hh:mm AP")))
    , m_pixelsPerPoint(printer.resolution() / 72.0)
    , m_page(printer.pageLayout().paintRectPixels(printer.resolution()).size())
    , m_titleMetrics(QFont())
    , m_cellMetrics(QFont())
    , m_headerMetrics(QFont())
    , m_footerMetrics(QFont())
{
    const auto visible = visibleColumns(grid);
    const double twips = totalTwips(visible);
    m_tableWidth = m_page.width();
    // Cumulative edges, so that rounding never adds up to a ragged right side.
    double edgeTwips = 0;
    for (const auto& [index, width] : visible) {
        const double left = edgeTwips * m_tableWidth / twips;
        edgeTwips += width;
        m_columns.push_back({index, left, edgeTwips * m_tableWidth / twips - left});
    }

    const double naturalWidth = points(twips / kTwipsPerPoint);
    const double scale = naturalWidth > 0 ? m_tableWidth / naturalWidth : 1.0;
    const double cellPoints = std::clamp(kCellPoints * scale, kSmallestCellPoints, kCellPoints);

    m_titleFont = fontOf(kTitlePoints, true);
    m_cellFont = fontOf(cellPoints, false);
    m_headerFont = fontOf(cellPoints, true);
    m_footerFont = fontOf(kFooterPoints, false);
    m_titleMetrics = QFontMetricsF(m_titleFont, &printer);
    m_cellMetrics = QFontMetricsF(m_cellFont, &printer);
    m_headerMetrics = QFontMetricsF(m_headerFont, &printer);
    m_footerMetrics = QFontMetricsF(m_footerFont, &printer);

    m_rowHeight = std::ceil(std::max(m_cellMetrics.height(), m_headerMetrics.height()) * kRowSpacing);
    m_tableTop = m_titleMetrics.height() + points(kGapPoints);
    const double tableBottom = m_page.height() - m_footerMetrics.height() - points(kGapPoints);
    // The header row comes first on every page; the rest holds data rows.
    m_rowsPerPage = std::max(1, int((tableBottom - m_tableTop - m_rowHeight) / m_rowHeight));
    m_dataRows = std::max(0, grid.rowCount() - 1);
    m_pageCount = std::max(1, (m_dataRows + m_rowsPerPage - 1) / m_rowsPerPage);
}

QFont GridPagePainter::fontOf(double pointSize, bool bold) const
{
    QFont font = QApplication::font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void GridPagePainter::paintPage(int page)
{
    paintPageHeader();
    paintFooter(page);
    if (m_columns.empty())
        return;

    paintRow(0, m_tableTop, true);
    const int first = 1 + (page - 1) * m_rowsPerPage;
    const int last = std::min(m_dataRows, first + m_rowsPerPage - 1);
    double top = m_tableTop + m_rowHeight;
    for (int row = first; row <= last; ++row, top += m_rowHeight)
        paintRow(row, top, false);

    // Column rules and the frame, once per page rather than once per cell.
    m_painter.setPen(QPen(kLineColour, points(kLinePoints)));
    m_painter.setBrush(Qt::NoBrush);
    for (std::size_t i = 1; i < m_columns.size(); ++i)
        m_painter.drawLine(QPointF(m_columns[i].left, m_tableTop), QPointF(m_columns[i].left, top));
    m_painter.drawRect(QRectF(0, m_tableTop, m_tableWidth, top - m_tableTop));
}

void GridPagePainter::paintPageHeader()
{
    // A pen equal to the painter's default is not passed on to the engine, and
    // the PDF engine of a reused printer would keep the last colour of the print
    // before; a change forces black through.
    m_painter.setPen(Qt::NoPen);
    m_painter.setPen(Qt::black);
    const double height = m_titleMetrics.height();
    m_painter.setFont(m_cellFont);
    const double printedWidth = m_cellMetrics.horizontalAdvance(m_printed);
    m_painter.drawText(QRectF(0, 0, m_page.width(), height), Qt::AlignRight | Qt::AlignVCenter, m_printed);

    const double titleRoom = std::max(0.0, m_page.width() - printedWidth - points(2 * kGapPoints));
    m_painter.setFont(m_titleFont);
    m_painter.drawText(QRectF(0, 0, titleRoom, height), Qt::AlignLeft | Qt::AlignVCenter,
                       m_titleMetrics.elidedText(m_title, Qt::ElideRight, titleRoom));
}

void GridPagePainter::paintFooter(int page)
{
    const double height = m_footerMetrics.height();
    m_painter.setPen(Qt::black);
    m_painter.setFont(m_footerFont);
    m_painter.drawText(QRectF(0, m_page.height() - height, m_page.width(), height), Qt::AlignCenter,
                       QStringLiteral("Page %1 of %2").arg(page).arg(m_pageCount));
}

void GridPagePainter::paintRow(int row, double top, bool header)
{
    const QFontMetricsF& metrics = header ? m_headerMetrics : m_cellMetrics;
    const double padding = points(kCellPaddingPoints);
    const double baseline = top + (m_rowHeight - metrics.height()) / 2 + metrics.ascent();
    // Texts no longer than this many characters fit their cell without measuring.
    const double widestCharacter = std::max(metrics.maxWidth(), 1.0);

    if (header)
        m_painter.fillRect(QRectF(0, top, m_tableWidth, m_rowHeight), kHeaderFill);
    m_painter.setFont(header ? m_headerFont : m_cellFont);
    m_painter.setPen(Qt::black);
    for (const PrintColumn& column : m_columns) {
        if (!header) {
            const OleColor background = m_grid.background(row, column.index);
            if (background != kOleWhite)
                m_painter.fillRect(QRectF(column.left, top, column.width, m_rowHeight), oleToColor(background));
        }
        const QString text = m_grid.text(row, column.index);
        if (text.isEmpty())
            continue;
        const double room = column.width - 2 * padding;
        if (room <= 0)
            continue;
        const QString line = oneLine(text);
        const QString shown = line.size() * widestCharacter <= room
                                  ? line
                                  : metrics.elidedText(line, Qt::ElideRight, room);
        if (!shown.isEmpty())
            m_painter.drawText(QPointF(column.left + padding, baseline), shown);
    }
    m_painter.setPen(QPen(kLineColour, points(kLinePoints)));
    m_painter.drawLine(QPointF(0, top + m_rowHeight), QPointF(m_tableWidth, top + m_rowHeight));
}

} // namespace

void preparePageForGrid(QPrinter& printer, const FlexGrid& grid)
{
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
    printer.setPageOrientation(QPageLayout::Portrait);
    const double portraitWidth = printer.pageLayout().paintRect(QPageLayout::Point).width();
    if (totalTwips(visibleColumns(grid)) / kTwipsPerPoint > portraitWidth)
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
