#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace vantik {

class FlexGrid;

/// How an export asks the clerk where to write and tells what went wrong. One
/// set for the whole program, so that every grid's "Export…" behaves alike;
/// tests replace them.
struct ExportPrompts {
    /// The chosen file, with its extension; empty when the clerk cancels.
    std::function<QString(QWidget* parent, const QString& suggestedPath)> choosePath;
    std::function<void(QWidget* parent, const QString& message)> tell;
};

/// The program's prompts: a save dialog offering a workbook or CSV, and the
/// program's message box.
ExportPrompts& exportPrompts();

/// Asks for a file (suggesting the name, in the folder used last) and writes the
/// grid there under the hourglass. A failure is told; the grid is not changed.
/// True when a file was written.
bool exportGridAsked(QWidget* parent, const FlexGrid& grid, const QString& name);

} // namespace vantik
