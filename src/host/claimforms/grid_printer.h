#pragma once

#include <QDateTime>
#include <QString>

class QPrinter;

namespace vantik {

class FlexGrid;

/// Sets the printer up for a grid: 10 mm margins, and landscape when the grid's
/// visible columns are wider than the paper's portrait width. The clerk may
/// still change both afterwards (page setup of the preview).
void preparePageForGrid(QPrinter& printer, const FlexGrid& grid);

/// Paints the grid as it stands on the printer's pages as they are set up:
/// the title and "Printed <date time>" on top of every page, then the header
/// row and the data rows, and "Page n of m" at the bottom. Columns keep the
/// proportion of their widths across the paper; zero-width columns are left
/// out. Returns the number of pages. Throws ComponentError when the printer
/// cannot be opened or a page cannot be added.
int paintGrid(QPrinter& printer, const QString& title, const FlexGrid& grid, const QDateTime& printedAt);

/// preparePageForGrid, then paintGrid: the whole print without any dialog.
int printGrid(QPrinter& printer, const QString& title, const FlexGrid& grid, const QDateTime& printedAt);

} // namespace vantik
