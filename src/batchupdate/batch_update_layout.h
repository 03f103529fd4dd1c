#pragma once

#include "host/ui/twips.h"

#include <span>

namespace vantik::batchupdate {

/// One control of the drug batch update window as designed: name (with its index
/// in a control array, -1 otherwise), caption, whether it sits in the Find and
/// Replace frame (else on the window) and its position in twips.
struct ControlDesign {
    const char* name;
    int index;
    const char* caption;
    bool inFrame;
    TwipsRect rect;
};

/// The design client area.
inline constexpr int kClientWidthTwips = 10050;
inline constexpr int kClientHeightTwips = 9420;

/// Width of the drug grid's GenericName column once drugs are listed.
inline constexpr int kGenericNameWidthTwips = 1500;

/// The instructions box's light yellow, 0x00BBGGRR.
inline constexpr unsigned kInstructionsColor = 0xC0FFFF;

/// Every control of the window, in creation order (the frame before what it holds).
std::span<const ControlDesign> batchUpdateDesign();

} // namespace vantik::batchupdate
