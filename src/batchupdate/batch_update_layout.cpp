#include "batchupdate/batch_update_layout.h"

namespace vantik::batchupdate {

namespace {

constexpr int kLabelWidth = 1095;
constexpr int kLabelHeight = 255;
constexpr int kBoxWidth = 1000;
constexpr int kBoxHeight = 285;
// The left edges of the Qty, Dosage, Route and UnitCode columns in the frame.
constexpr int kColumn[] = {1560, 2640, 3720, 4800};
constexpr int kFindTop = 840;
constexpr int kReplaceTop = 1200;

constexpr ControlDesign kDesign[] = {
    {"Grid1", -1, "", false, {120, 120, 8175, 5175}},
    {"cmdDrugs", -1, "List Drugs", false, {8400, 120, 1575, 495}},
    {"fraFindReplace", -1, "Find and Replace", false, {120, 5400, 8175, 1695}},
    {"Label1", 5, "Generic Name", true, {360, 255, kLabelWidth, kLabelHeight}},
    {"txtDrugName", -1, "", true, {1560, 240, 6495, kBoxHeight}},
    {"Label1", 0, "Qty", true, {kColumn[0], 600, kLabelWidth, kLabelHeight}},
    {"Label1", 1, "Dosage", true, {kColumn[1], 600, kLabelWidth, kLabelHeight}},
    {"Label1", 2, "Route", true, {kColumn[2], 600, kLabelWidth, kLabelHeight}},
    {"Label1", 6, "UnitCode", true, {kColumn[3], 600, kLabelWidth, kLabelHeight}},
    {"Label2", -1, "*All Find fields must match to replace", true, {5880, 600, 1815, 495}},
    {"Label1", 3, "Find", true, {240, 855, kLabelWidth, kLabelHeight}},
    {"txtField", 0, "", true, {kColumn[0], kFindTop, kBoxWidth, kBoxHeight}},
    {"txtField", 1, "", true, {kColumn[1], kFindTop, kBoxWidth, kBoxHeight}},
    {"txtField", 2, "", true, {kColumn[2], kFindTop, kBoxWidth, kBoxHeight}},
    {"txtField", 3, "", true, {kColumn[3], kFindTop, kBoxWidth, kBoxHeight}},
    {"Label1", 4, "Repalce with", true, {240, 1215, kLabelWidth, kLabelHeight}},
    {"txtFieldTO", 0, "", true, {kColumn[0], kReplaceTop, kBoxWidth, kBoxHeight}},
    {"txtFieldTO", 1, "", true, {kColumn[1], kReplaceTop, kBoxWidth, kBoxHeight}},
    {"txtFieldTO", 2, "", true, {kColumn[2], kReplaceTop, kBoxWidth, kBoxHeight}},
    {"txtFieldTO", 3, "", true, {kColumn[3], kReplaceTop, kBoxWidth, kBoxHeight}},
    {"chkSimulate", -1, "Simulate", true, {6600, 1200, 1335, 255}},
    {"txtInst", -1, "", false, {120, 7200, 8175, 2055}},
};

} // namespace

std::span<const ControlDesign> batchUpdateDesign()
{
    return kDesign;
}

} // namespace vantik::batchupdate
