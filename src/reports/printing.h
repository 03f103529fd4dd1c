#pragma once

#include <QString>

class QWidget;

namespace vantik {

class FlexGrid;
class FrmClaimWorklist;

/// Hands a grid and its title to the claim-form library's PrintGrid, under the
/// hourglass (shown through one yield). A failure is reported in a message box
/// over the given window, with the normal pointer back.
void printGridTitled(FrmClaimWorklist& main, QWidget* window, const QString& title, FlexGrid& grid);

/// "Print List": the worklist grid as "Claims Worklist".
void printWorklist(FrmClaimWorklist& main);

/// The main window's "&Print": the current admission's claim form, asked for
/// its printable entry. A failure is reported and the operation ends.
void printClaimEntry(FrmClaimWorklist& main);

} // namespace vantik
