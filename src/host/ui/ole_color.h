#pragma once

#include "host/ui/flex_grid.h"

#include <QColor>

namespace vantik {

/// 0x00BBGGRR to a colour.
inline QColor oleToColor(OleColor color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

} // namespace vantik
