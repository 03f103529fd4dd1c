#pragma once

#include <QString>

class QWidget;

namespace vantik {

class FlexGrid;

/// Shows the print preview of the grid under the title; from its toolbar the
/// clerk changes the page setup and prints to a printer or, through the print
/// dialog's file printer, to a PDF file. Returns when the dialog closes.
/// Throws ComponentError when a print from the preview fails.
void previewGrid(QWidget* parent, const QString& title, const FlexGrid& grid);

} // namespace vantik
