#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

class QIODevice;

namespace vantik {

class FlexGrid;

enum class ExportFormat { Csv, Xlsx };

/// Why an export did not happen; what() is the message for the clerk.
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
};

/// The format a file name asks for: a workbook for ".xlsx", CSV otherwise.
ExportFormat exportFormatFor(const QString& path);

/// Writes the header row and every data row of the grid's shown columns as CSV:
/// UTF-8 with a byte-order mark (so that spreadsheets read "Ñ" and "é"), fields
/// quoted as RFC 4180 asks, CRLF line ends. False when the device fails.
bool writeGridCsv(const FlexGrid& grid, QIODevice& device);

/// writeGridCsv into memory.
QByteArray gridCsv(const FlexGrid& grid);

/// Writes every row of the grid, whether scrolled into view or not, with its
/// shown columns (hidden ones left out) to the file. A workbook has its header
/// row bold and frozen, columns as wide as their content, numbers as numbers,
/// dates as dates and everything else as text. The file appears under its name
/// only complete: it is written under a temporary name and then replaces the file
/// in one step, so a failure leaves whatever was there before; a file replaced
/// keeps its permissions. Throws ExportError.
void exportGrid(const FlexGrid& grid, const QString& path, ExportFormat format);

} // namespace vantik
