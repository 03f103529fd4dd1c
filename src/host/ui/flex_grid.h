#pragma once

#include "host/sqlcompat/sqltype.h"

#include <QString>

#include <cstdint>

namespace vantik {

class ResultSet;

/// A colour in the host's 0x00BBGGRR form (255 is red, 16711680 blue).
using OleColor = std::uint32_t;

inline constexpr OleColor kOleWhite = 16777215;
inline constexpr OleColor kOleYellow = 65535;
inline constexpr OleColor kOleGreen = 65280;
inline constexpr OleColor kOleBlue = 16711680;
inline constexpr OleColor kOleRed = 255;
inline constexpr OleColor kOlePaleBlue = 16772846;

/// The grid control the windows and the claim-form library work on. Row 0 is the
/// header row (the column names); data rows are 1 to rowCount() - 1. Columns
/// count from 0 with no fixed column in front. Widths are in twips.
class FlexGrid {
public:
    virtual ~FlexGrid() = default;

    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    /// Empty text outside the grid.
    virtual QString text(int row, int column) const = 0;
    virtual void setText(int row, int column, const QString& text) = 0;

    /// What the column was bound from, for printing and export; Unknown for a
    /// grid filled cell by cell, whose values then speak for themselves.
    virtual sqlcompat::SqlType columnType(int /*column*/) const { return sqlcompat::SqlType::Unknown; }

    virtual int columnWidth(int column) const = 0;
    virtual void setColumnWidth(int column, int twips) = 0;

    /// The current cell; row 0 while the grid has no data row.
    virtual int currentRow() const = 0;
    virtual int currentColumn() const = 0;
    virtual void setCurrent(int row, int column) = 0;

    /// Background of the current cell, of one cell, and of every cell of a row.
    virtual void setCellBackground(OleColor color) = 0;
    virtual OleColor background(int row, int column) const = 0;
    virtual void setRowBackground(int row, OleColor color) = 0;

    /// Appends a data row; the text holds the cells separated by tabs.
    virtual void appendRow(const QString& tabSeparated) = 0;
    /// Replaces the whole content: the header row from the result's column
    /// names, one data row per record.
    virtual void bind(ResultSet result) = 0;
    /// Sets the shape: the given number of columns and rows, every cell empty.
    virtual void reset(int rows, int columns) = 0;

    virtual bool isGridEnabled() const = 0;
    virtual void setGridEnabled(bool enabled) = 0;
};

} // namespace vantik
