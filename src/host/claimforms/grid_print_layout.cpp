#include "host/claimforms/grid_print_layout.h"

#include "host/ui/flex_grid.h"
#include "host/ui/grid_values.h"

#include <QPaintDevice>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vantik {

namespace {

constexpr double kPaddingPoints = 2.0;
// Free text is printed up to this many average characters wide, then wraps.
constexpr double kFreeTextCharacters = 30.0;
// Measured widths get this much more, so that rounding never cuts a text.
constexpr double kSafety = 1.02;
// The identifier columns repeated on every band take at most this share of it.
constexpr double kKeyShare = 0.4;
// One single-word column takes at most this share of a page; beyond, it is cut.
constexpr double kWidestFixedShare = 0.5;
constexpr double kRowSpacing = 1.3; // row height per line height, one line
const double kFontSteps[] = {9.0, 8.5, 8.0, 7.5, 7.0};

double pixelsPerPoint(const QPaintDevice* device)
{
    return device->logicalDpiX() / 72.0;
}

double widestWord(const TextWidths& widths, const QString& text)
{
    double widest = 0;
    for (const QString& word : oneLine(text).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        widest = std::max(widest, widths.width(word));
    return widest;
}

} // namespace

std::vector<GridPrintLayout::Measured> GridPrintLayout::measure(const FlexGrid& grid, const QPaintDevice* device)
{
    const TextWidths cell(printFont(kCellPoints, false), device);
    const TextWidths header(printFont(kCellPoints, true), device);
    const double cap = freeTextCap(device);
    std::vector<Measured> measured;
    const int rows = grid.rowCount();
    bool leading = true;
    for (const int column : shownColumns(grid)) {
        Measured m;
        m.gridColumn = column;
        const QString name = grid.text(0, column);
        m.word = widestWord(header, name);
        bool blank = false;
        const sqlcompat::SqlType type = grid.columnType(column);
        bool numbers = type == sqlcompat::SqlType::Integer || type == sqlcompat::SqlType::Decimal
                       || (type == sqlcompat::SqlType::Unknown && !isIdentifierName(name));
        bool any = false;
        for (int row = 1; row < rows; ++row) {
            const QString text = grid.text(row, column);
            if (text.isEmpty())
                continue;
            any = true;
            m.content = std::max(m.content, cell.width(oneLine(text)));
            if (!blank)
                blank = text.contains(QLatin1Char(' '));
            if (numbers)
                numbers = parsePlainNumber(text).has_value();
        }
        m.number = any && numbers;
        m.wraps = blank && m.content * kSafety > cap;
        // The identifiers at the left of a list say which row a page continues.
        leading = leading && !blank && isIdentifierName(name);
        m.key = leading;
        measured.push_back(m);
    }
    return measured;
}

double GridPrintLayout::widthAt(const Measured& column, double scale) const
{
    double content = column.content * scale * kSafety;
    if (column.wraps)
        content = std::min(content, m_freeTextCap * scale);
    return std::max(content, column.word * scale * kSafety) + 2 * m_padding;
}

double GridPrintLayout::freeTextCap(const QPaintDevice* device)
{
    return kFreeTextCharacters * TextWidths(printFont(kCellPoints, false), device).metrics().averageCharWidth();
}

double GridPrintLayout::naturalWidth(const FlexGrid& grid, const QPaintDevice* device)
{
    const double padding = kPaddingPoints * pixelsPerPoint(device);
    const double cap = freeTextCap(device);
    double total = 0;
    for (const Measured& column : measure(grid, device)) {
        const double content = column.wraps ? std::min(column.content * kSafety, cap) : column.content * kSafety;
        total += std::max(content, column.word * kSafety) + 2 * padding;
    }
    return total;
}

GridPrintLayout::GridPrintLayout(const FlexGrid& grid, const QPaintDevice* device, double pageWidth,
                                 double tableHeight)
    : m_grid(grid)
    , m_device(device)
    , m_pixelsPerPoint(pixelsPerPoint(device))
    , m_padding(kPaddingPoints * pixelsPerPoint(device))
    , m_freeTextCap(freeTextCap(device))
    , m_dataRows(std::max(0, grid.rowCount() - 1))
{
    placeColumns(measure(grid, device), pageWidth);
    paginate(tableHeight);
}

void GridPrintLayout::placeColumns(const std::vector<Measured>& measured, double pageWidth)
{
    // The largest font at which every column fits across the page.
    double scale = kSmallestCellPoints / kCellPoints;
    m_cellPoints = kSmallestCellPoints;
    for (const double points : kFontSteps) {
        double total = 0;
        for (const Measured& column : measured)
            total += widthAt(column, points / kCellPoints);
        if (total <= pageWidth) {
            scale = points / kCellPoints;
            m_cellPoints = points;
            break;
        }
    }
    m_cell = std::make_unique<TextWidths>(printFont(m_cellPoints, false), m_device);
    m_header = std::make_unique<TextWidths>(printFont(m_cellPoints, true), m_device);
    m_lineHeight = std::ceil(std::max(m_cell->metrics().height(), m_header->metrics().height()));

    double total = 0;
    for (const Measured& column : measured) {
        double width = widthAt(column, scale);
        if (!column.key && !column.wraps)
            width = std::min(width, pageWidth * kWidestFixedShare);
        m_columns.push_back({column.gridColumn, column.wraps, false, column.number, width});
        total += width;
    }

    if (total <= pageWidth) {
        std::vector<int> all(m_columns.size());
        std::iota(all.begin(), all.end(), 0);
        widenWrappingColumns(measured, all, pageWidth);
        m_bands.push_back(all);
        return;
    }

    // Too wide even in the smallest font: the columns continue on further
    // pages, each starting with the identifier columns.
    std::vector<int> keys;
    double keyWidth = 0;
    for (std::size_t i = 0; i < m_columns.size() && measured[i].key; ++i) {
        if (keyWidth + m_columns[i].width > pageWidth * kKeyShare)
            break;
        keys.push_back(int(i));
        keyWidth += m_columns[i].width;
        m_columns[i].key = true;
    }
    const double room = pageWidth - keyWidth;
    std::vector<int> band;
    double used = 0;
    for (std::size_t i = keys.size(); i < m_columns.size(); ++i) {
        Column& column = m_columns[i];
        column.width = std::min(column.width, room);
        if (!band.empty() && used + column.width > room) {
            m_bands.push_back(band);
            band.clear();
            used = 0;
        }
        band.push_back(int(i));
        used += column.width;
    }
    if (!band.empty() || m_bands.empty())
        m_bands.push_back(band);
    for (std::vector<int>& columns : m_bands) {
        widenWrappingColumns(measured, columns, room);
        columns.insert(columns.begin(), keys.begin(), keys.end());
    }
}

void GridPrintLayout::widenWrappingColumns(const std::vector<Measured>& measured, const std::vector<int>& band,
                                           double room)
{
    // Room left on the page goes to the free text columns, so they wrap less.
    double used = 0;
    double wanted = 0;
    for (const int i : band)
        used += m_columns[i].width;
    const double scale = m_cellPoints / kCellPoints;
    std::vector<double> deficit(band.size(), 0.0);
    for (std::size_t at = 0; at < band.size(); ++at) {
        const Column& column = m_columns[band[at]];
        if (!column.wraps)
            continue;
        const double natural = measured[band[at]].content * scale * kSafety + 2 * m_padding;
        deficit[at] = std::max(0.0, natural - column.width);
        wanted += deficit[at];
    }
    const double spare = room - used;
    if (spare <= 0 || wanted <= 0)
        return;
    const double share = std::min(1.0, spare / wanted);
    for (std::size_t at = 0; at < band.size(); ++at)
        m_columns[band[at]].width += std::floor(deficit[at] * share);
}

void GridPrintLayout::paginate(double tableHeight)
{
    const int rows = m_dataRows + 1;
    m_lines.assign(std::size_t(rows), 1);
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const Column& column = m_columns[i];
        const double room = column.width - 2 * m_padding;
        const int header = int(m_header->wrap(m_grid.text(0, column.gridColumn), room, kMaxCellLines).size());
        m_lines[0] = (unsigned char)std::max<int>(m_lines[0], header);
        if (!column.wraps)
            continue;
        for (int row = 1; row < rows; ++row) {
            const QString text = m_grid.text(row, column.gridColumn);
            if (text.isEmpty() || m_cell->width(text) <= room)
                continue;
            const int lines = int(m_cell->wrap(text, room, kMaxCellLines).size());
            m_lines[row] = (unsigned char)std::max<int>(m_lines[row], lines);
        }
    }

    // The same rows on every band, so that the pages of one stretch of rows
    // lie side by side.
    const double room = tableHeight - rowHeight(0);
    std::vector<std::pair<int, int>> stretches;
    int first = 1;
    double used = 0;
    for (int row = 1; row < rows; ++row) {
        const double height = rowHeight(row);
        if (row > first && used + height > room) {
            stretches.emplace_back(first, row - 1);
            first = row;
            used = 0;
        }
        used += height;
    }
    stretches.emplace_back(first, rows - 1);
    for (const auto& [from, to] : stretches) {
        for (int band = 0; band < int(m_bands.size()); ++band)
            m_pages.push_back({band, from, to});
    }
}

double GridPrintLayout::rowHeight(int row) const
{
    const int lines = row >= 0 && std::size_t(row) < m_lines.size() ? m_lines[std::size_t(row)] : 1;
    return std::ceil(m_lineHeight * (lines + kRowSpacing - 1.0));
}

QStringList GridPrintLayout::cellLines(int row, int columnIndex) const
{
    const Column& column = m_columns[std::size_t(columnIndex)];
    const QString text = m_grid.text(row, column.gridColumn);
    const double room = column.width - 2 * m_padding;
    if (row == 0)
        return m_header->wrap(text, room, kMaxCellLines);
    if (column.wraps)
        return m_cell->wrap(text, room, kMaxCellLines);
    return {m_cell->elide(oneLine(text), room)};
}

} // namespace vantik
