#pragma once

#include "host/ui/twips.h"

#include <optional>

namespace vantik::reports {

/// The report window as designed (twips).
namespace report_design {
inline constexpr int kClientWidth = 10665;
inline constexpr int kClientHeight = 6840;
inline constexpr TwipsRect cmdPrint{120, 120, 1575, 375};
inline constexpr TwipsRect cmdClose{1800, 120, 1575, 375};
inline constexpr TwipsRect Grid2{120, 600, 8175, 3375};
inline constexpr int kServiceWidth = 2000;
inline constexpr int kDoctorWidth = 2500;
} // namespace report_design

/// The chart window as designed (twips).
namespace chart_design {
inline constexpr int kClientWidth = 11070;
inline constexpr int kClientHeight = 5445;
inline constexpr TwipsRect Label2{0, 165, 1335, 255};
inline constexpr TwipsRect Label3{0, 525, 1335, 255};
inline constexpr TwipsRect txtStartDate{1440, 120, 1455, 330};
inline constexpr TwipsRect txtEndDate{1440, 480, 1455, 330};
inline constexpr TwipsRect cmdRefresh{3120, 120, 1455, 495};
inline constexpr TwipsRect Text1{6480, 240, 2775, 495};
inline constexpr TwipsRect MSChart1{360, 1320, 6615, 2895};
} // namespace chart_design

/// The window font of both windows, at its design size.
inline constexpr const char* kReportsFont = "Segoe UI";
inline constexpr double kReportsPointSize = 8.25;

/// A size that follows the window; a side that would come out negative is left as it was.
struct FollowingSize {
    std::optional<int> width;
    std::optional<int> height;
};

/// The report grid keeps 400 twips to the right and 1200 below, counted on the
/// window's outer size.
FollowingSize reportGridSize(int outerWidth, int outerHeight);

/// The chart keeps 500 twips of the window's outer width; its height stays.
FollowingSize chartSize(int outerWidth);

} // namespace vantik::reports
