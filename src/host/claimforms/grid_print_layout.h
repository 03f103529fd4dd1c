#pragma once

#include "host/claimforms/print_text.h"

#include <QStringList>

#include <memory>
#include <vector>

class QPaintDevice;

namespace vantik {

class FlexGrid;

/// Where a grid's cells go on printed pages. Columns are as wide as their
/// widest text in the print font: identifiers, numbers, dates and other
/// single-word columns in full, free text up to a cap, wrapping to at most
/// kMaxCellLines lines. When the columns are wider than the page, the font
/// shrinks down to kSmallestCellPoints; past that the columns continue on
/// further pages ("bands"), each repeating the identifier columns at its
/// left. Pages run across the bands first: every band of rows 1 to 40, then
/// every band of the rows after. All lengths are in device pixels.
class GridPrintLayout {
public:
    static constexpr double kCellPoints = 9.0;
    static constexpr double kSmallestCellPoints = 7.0;
    static constexpr int kMaxCellLines = 3;

    struct Column {
        int gridColumn = 0;
        bool wraps = false; ///< free text, capped and wrapped
        bool key = false;   ///< repeated at the left of every band
        bool number = false; ///< printed flush right
        double width = 0;   ///< padding included
    };
    struct Page {
        int band = 0;     ///< index into bands()
        int firstRow = 1; ///< grid rows, inclusive; lastRow < firstRow when the grid has no data row
        int lastRow = 0;
    };

    /// tableHeight is the room for the table on one page, header row included.
    GridPrintLayout(const FlexGrid& grid, const QPaintDevice* device, double pageWidth, double tableHeight);

    const TextWidths& cellText() const { return *m_cell; }
    const TextWidths& headerText() const { return *m_header; }
    double padding() const { return m_padding; }
    double lineHeight() const { return m_lineHeight; }

    const std::vector<Column>& columns() const { return m_columns; }
    /// Indexes into columns(), left to right, per band.
    const std::vector<std::vector<int>>& bands() const { return m_bands; }
    const std::vector<Page>& pages() const { return m_pages; }
    int dataRowCount() const { return m_dataRows; }

    /// Height of a grid row; row 0 is the header row.
    double rowHeight(int row) const;
    /// The lines a cell prints (header row included), each fitting its column.
    QStringList cellLines(int row, int columnIndex) const;

    /// Width of the grid's shown columns in the largest print font, for the
    /// choice of orientation.
    static double naturalWidth(const FlexGrid& grid, const QPaintDevice* device);

private:
    struct Measured {
        int gridColumn = 0;
        bool wraps = false;
        bool key = false;
        bool number = false;
        double content = 0; ///< widest value, at the base size
        double word = 0;    ///< widest word of the header (bold), at the base size
    };
    static std::vector<Measured> measure(const FlexGrid& grid, const QPaintDevice* device);
    static double freeTextCap(const QPaintDevice* device);
    double widthAt(const Measured& column, double scale) const;
    void placeColumns(const std::vector<Measured>& measured, double pageWidth);
    void widenWrappingColumns(const std::vector<Measured>& measured, const std::vector<int>& band, double room);
    void paginate(double tableHeight);

    const FlexGrid& m_grid;
    const QPaintDevice* m_device;
    double m_pixelsPerPoint = 1;
    double m_cellPoints = kCellPoints;
    std::unique_ptr<TextWidths> m_cell;
    std::unique_ptr<TextWidths> m_header;
    double m_padding = 0;
    double m_freeTextCap = 0; ///< at the base size
    double m_lineHeight = 0;
    int m_dataRows = 0;
    std::vector<Column> m_columns;
    std::vector<std::vector<int>> m_bands;
    std::vector<unsigned char> m_lines; // lines per grid row
    std::vector<Page> m_pages;
};

} // namespace vantik
