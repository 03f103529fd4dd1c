#pragma once

#include <QString>

class QPlainTextEdit;

namespace vantik {

/// Log boxes that take a line per row of a batch. Outside a batch a line goes in
/// at once. During a batch (BatchScope) the lines wait for the next frame of the
/// RepaintPacer and go in together: one layout per frame instead of one per line,
/// and the box holds the same text in the end as if each had gone in by itself.

/// Puts a line on top of the log, above the older lines, and shows the top.
void pacedPrepend(QPlainTextEdit& log, const QString& line);
/// Adds a line at the end of the log as appendPlainText does (a box with a
/// maximum block count keeps only its newest lines).
void pacedAppend(QPlainTextEdit& log, const QString& line);
/// Puts the lines still waiting into the log now.
void flushPacedLines(QPlainTextEdit& log);

} // namespace vantik
