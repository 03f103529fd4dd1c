#include "host/ui/ole_color.h"

#include <cmath>

namespace vantik {

namespace {

double linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

bool prefersLightText(OleColor background)
{
    const QColor color = oleToColor(background);
    const double luminance =
        0.2126 * linear(color.red()) + 0.7152 * linear(color.green()) + 0.0722 * linear(color.blue());
    const double againstWhite = 1.05 / (luminance + 0.05);
    const double againstBlack = (luminance + 0.05) / 0.05;
    return againstWhite > againstBlack;
}

} // namespace vantik
