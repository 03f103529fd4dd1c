#pragma once

#include "host/ui/flex_grid.h"

#include <QString>

#include <exception>

class QPlainTextEdit;

namespace vantik {

class FrmClaimWorklist;

/// The hospital number of the worklist grid's current row; empty while the list
/// has no data row.
QString currentHospNum(const FlexGrid& grid);

/// The last data row, read once when a walk starts.
int lastListedRow(const FlexGrid& grid);

/// Makes row the current row in the current column. A walk can outlive its
/// list: a refresh during a yield may leave fewer rows, which ends the walk with
/// an error rather than working on the wrong row.
void makeRowCurrent(FlexGrid& grid, int row);
/// Makes (row, column) the current cell, under the same rule.
void makeCellCurrent(FlexGrid& grid, int row, int column);

/// Paints the worklist's current row through a fresh claim-form object of the library.
void colourCurrentRow(FrmClaimWorklist& window, OleColor color);

/// Puts a line on top of the activity log, before its older lines; during a batch
/// the lines of a frame go in together (pacedPrepend).
void prependLogLine(QPlainTextEdit& log, const QString& line);

/// An operation's error: its description in a message box on the main window.
void showOperationError(FrmClaimWorklist& window, const std::exception& error);

} // namespace vantik
