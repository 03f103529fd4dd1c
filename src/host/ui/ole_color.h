#pragma once

#include "host/ui/flex_grid.h"

#include <QColor>

namespace vantik {

/// 0x00BBGGRR to a colour.
inline QColor oleToColor(OleColor color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

/// Whether white text reads better than black on the colour: the one of the two
/// with the higher contrast ratio (relative luminance, as in the accessibility
/// guidelines). Blue wants white; red, green, yellow and white want black.
bool prefersLightText(OleColor background);

} // namespace vantik
