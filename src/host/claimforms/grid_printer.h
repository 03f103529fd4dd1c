#pragma once

#include <QDateTime>
#include <QString>

class QPrinter;

namespace vantik {

class FlexGrid;

/// Sets the printer up for a grid: 10 mm margins, and landscape when the grid's
/// columns, as wide as their content in the print font, are wider than the
/// paper's portrait width. The clerk may still change both afterwards (page
/// setup of the preview).
void preparePageForGrid(QPrinter& printer, const FlexGrid& grid);

/// Paints the grid as it stands on the printer's pages as they are set up:
/// the title and "Printed <date time>" on top of every page, then the header
/// row and the data rows with their colours, and "Page n of m" (over the whole
/// print) at the bottom. Columns are laid out as GridPrintLayout says: as wide
/// as their content, free text wrapped, continued on further pages with the
/// identifiers repeated when the page is too narrow. Zero-width columns and
/// columns without header or value are left out. Returns the number of pages.
/// Throws ComponentError when the printer cannot be opened or a page cannot be
/// added.
int paintGrid(QPrinter& printer, const QString& title, const FlexGrid& grid, const QDateTime& printedAt);

/// preparePageForGrid, then paintGrid: the whole print without any dialog.
int printGrid(QPrinter& printer, const QString& title, const FlexGrid& grid, const QDateTime& printedAt);

} // namespace vantik
