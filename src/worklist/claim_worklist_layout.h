#pragma once

#include "host/ui/twips.h"

#include <optional>
#include <span>

namespace vantik::worklist {

/// What a control sits on; its position is relative to that.
enum class Container {
    Window,      // the client area
    TabFilter,   // pages of SSTab1: positions count from the tab control's corner
    TabOther,
    TabOptions,
    Frame1,
    Frame2,
    FraSearchBy,
    FraImport,
};

/// One control of the main window as designed: name (with its index in a
/// control array, -1 otherwise), caption and position in twips.
struct ControlDesign {
    const char* name;
    int index;
    const char* caption;
    Container container;
    TwipsRect rect;
};

/// The design client area of the main window.
inline constexpr int kClientWidthTwips = 15960;
inline constexpr int kClientHeightTwips = 9510;

/// Every control of the main window, in creation order.
std::span<const ControlDesign> claimWorklistDesign();
/// The design of one control; aborts on a name the table lacks (a programming error).
const ControlDesign& controlDesign(const char* name, int index = -1);

/// The sizes that follow the window: applied only where they come out positive.
struct FollowingSizes {
    std::optional<int> gridWidth;
    std::optional<int> gridHeight;
    std::optional<int> logHeight;
};

/// Grid and log sizes for the window's outer size, all in twips: the grid keeps
/// 400 to the right and 1200 below, the log 1200 below.
FollowingSizes followWindowSize(int outerWidth, int outerHeight);

/// How far the Stop button reaches down over the activity log's top edge (twips):
/// the log's text starts below it.
int logTopUnderStop();

} // namespace vantik::worklist
