#include "reports/report_layout.h"

namespace vantik::reports {

namespace {
std::optional<int> unlessNegative(int twips)
{
    return twips >= 0 ? std::optional(twips) : std::nullopt;
}
} // namespace

FollowingSize reportGridSize(int outerWidth, int outerHeight)
{
    const TwipsRect grid = report_design::Grid2;
    return {unlessNegative(outerWidth - grid.left - 400), unlessNegative(outerHeight - grid.top - 1200)};
}

FollowingSize chartSize(int outerWidth)
{
    return {unlessNegative(outerWidth - 500), std::nullopt};
}

} // namespace vantik::reports
