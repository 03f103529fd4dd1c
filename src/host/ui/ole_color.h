#pragma once

#include "host/ui/flex_grid.h"

#include <QColor>

namespace vantik {

/// 0x00BBGGRR to a colour and back.
inline QColor oleToColor(OleColor color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

inline OleColor colorToOle(const QColor& color)
{
    return OleColor(color.red()) | (OleColor(color.green()) << 8) | (OleColor(color.blue()) << 16);
}

} // namespace vantik
