#pragma once

#include <QRect>

namespace vantik {

/// Where the user log window goes so that it leaves a button (the main window's
/// Stop button) uncovered. All rectangles are global; frame is the window with its
/// decorations. A frame that does not cover the button stays where it is; otherwise
/// it moves beside the button inside the available screen area, and shrinks only
/// when no place beside the button is large enough.
QRect placeClearOf(const QRect& frame, const QRect& button, const QRect& available);

} // namespace vantik
