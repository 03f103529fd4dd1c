#include "worklist/claim_worklist_layout.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vantik::worklist {

namespace {

using C = Container;

// Filter labels end just left of their boxes and overhang the window's left edge.
constexpr int kFilterLabelLeft = -360;
constexpr int kFilterLabelWidth = 1335;
constexpr int kTabLabelLeft = 120;
constexpr int kTabLabelWidth = 975;
constexpr int kLabelDrop = 45; // a label's top below its box's top
constexpr int kLabelHeight = 255;
constexpr int kCheckHeight = 255;

constexpr ControlDesign kDesign[] = {
    // The filter boxes and their labels.
    {"Label5", -1, "&IDNum", C::Window, {kFilterLabelLeft, 0 + kLabelDrop, kFilterLabelWidth, kLabelHeight}},
    {"txtIDNum", -1, "", C::Window, {1080, 0, 1455, 330}},
    {"Label4", -1, "&HospNum", C::Window, {kFilterLabelLeft, 360 + kLabelDrop, kFilterLabelWidth, kLabelHeight}},
    {"txtHospNum", -1, "", C::Window, {1080, 360, 1455, 330}},
    {"Label6", -1, "&Lastname", C::Window, {kFilterLabelLeft, 720 + kLabelDrop, kFilterLabelWidth, kLabelHeight}},
    {"txtLastName", -1, "", C::Window, {1080, 720, 1455, 330}},
    {"Label7", -1, "Firstname", C::Window, {kFilterLabelLeft, 1080 + kLabelDrop, kFilterLabelWidth, kLabelHeight}},
    {"txtFirstName", -1, "", C::Window, {1080, 1080, 1455, 330}},
    {"Label2", -1, "&Start Date", C::Window, {kFilterLabelLeft, 1440 + kLabelDrop, kFilterLabelWidth, kLabelHeight}},
    {"txtStartDate", -1, "", C::Window, {1080, 1440, 1455, 330}},
    {"Label3", -1, "End Date", C::Window, {kFilterLabelLeft, 1800 + kLabelDrop, kFilterLabelWidth, kLabelHeight}},
    {"txtEndDate", -1, "", C::Window, {1080, 1800, 1455, 330}},
    {"cmdRefresh", -1, "&Refresh", C::Window, {2640, 0, 1575, 495}},
    {"cmdToday", -1, "&Today", C::Window, {2640, 600, 1575, 375}},
    {"cmdPrintList", -1, "Print List", C::Window, {2640, 1080, 1575, 375}},
    {"chkSortSD", -1, "Sort by Service && Doctor", C::Window, {2640, 1560, 1575, 465}},
    {"SSTab1", -1, "", C::Window, {75, 2160, 4215, 3135}},

    // Tab "Filter".
    {"Label8", -1, "Dr. ID", C::TabFilter, {kTabLabelLeft, 360 + kLabelDrop, kTabLabelWidth, kLabelHeight}},
    {"txtDrID", -1, "", C::TabFilter, {1200, 360, 1455, 330}},
    {"Label9", -1, "Assigned To", C::TabFilter, {kTabLabelLeft, 720 + kLabelDrop, kTabLabelWidth, kLabelHeight}},
    {"txtAssignedTo", -1, "", C::TabFilter, {1200, 720, 1455, 330}},
    {"Label10", -1, "Verified By", C::TabFilter, {kTabLabelLeft, 1080 + kLabelDrop, kTabLabelWidth, kLabelHeight}},
    {"txtVerifiedBy", -1, "", C::TabFilter, {1200, 1080, 1455, 330}},
    {"Label11", -1, "Open By", C::TabFilter, {kTabLabelLeft, 1440 + kLabelDrop, kTabLabelWidth, kLabelHeight}},
    {"txtOpenBy", -1, "", C::TabFilter, {1200, 1440, 1455, 330}},
    {"Label12", -1, "Changed By", C::TabFilter, {kTabLabelLeft, 1800 + kLabelDrop, kTabLabelWidth, kLabelHeight}},
    {"txtChangedBy", -1, "", C::TabFilter, {1200, 1800, 1455, 330}},
    {"Frame2", -1, "Patient Type", C::TabFilter, {2760, 360, 1335, 855}},
    {"optPatType", 0, "In", C::Frame2, {120, 240, 1095, 240}},
    {"optPatType", 1, "Out", C::Frame2, {120, 480, 1095, 240}},
    {"Frame1", -1, "Is Discharged?", C::TabFilter, {2760, 1200, 1335, 1000}},
    {"optDischarged", 0, "All", C::Frame1, {120, 240, 1095, 240}},
    {"optDischarged", 1, "No", C::Frame1, {120, 480, 1095, 240}},
    {"optDischarged", 2, "Yes", C::Frame1, {120, 720, 1095, 240}},
    {"chkHemoPatient", -1, "Hemo Patient", C::TabFilter, {840, 2280, 1575, kCheckHeight}},
    {"chkHasHemoNum", -1, "Has Hemo Num", C::TabFilter, {840, 2520, 1575, kCheckHeight}},
    {"chkChemo", -1, "Chemo Patient", C::TabFilter, {840, 2760, 1575, kCheckHeight}},
    {"chkVerifiedOnly", -1, "Verified only", C::TabFilter, {2520, 2280, 1575, kCheckHeight}},
    {"chkUnverifiedOnly", -1, "Unverified only", C::TabFilter, {2520, 2520, 1575, kCheckHeight}},
    {"chkMedicare", -1, "PhilHealth Pat.", C::TabFilter, {2520, 2760, 1575, kCheckHeight}},

    // Tab "Other".
    {"chkGETVitals", -1, "List Vital Signs", C::TabOther, {1080, 720, 1935, kCheckHeight}},
    {"cmdGenerateScript", -1, "Generate Update script for N/A", C::TabOther, {1080, 1080, 1935, 735}},
    {"cmdBatchUpdate", -1, "Drug Batch Update", C::TabOther, {1080, 1920, 1935, 375}},
    // The eCF4 passes over the list, under the other walks of this tab.
    {"cmdCheckECF4", -1, "All Listed: Check &eCF4", C::TabOther, {120, 2400, 2295, 375}},
    {"cmdExportECF4", -1, "E&xport eCF4\u2026", C::TabOther, {2520, 2400, 1575, 375}},

    // Tab "Options".
    {"fraSearchBy", -1, "Search By Date", C::TabOptions, {120, 360, 1575, 855}},
    {"optDateType", 0, "Registration", C::FraSearchBy, {120, 240, 1335, 240}},
    {"optDateType", 1, "Discharge", C::FraSearchBy, {120, 480, 1335, 240}},
    {"cmdCheckHTWT", -1, "Check HT/WT", C::TabOptions, {2520, 480, 1575, 375}},
    {"chkTop500", -1, "Top 500 records", C::TabOptions, {360, 1320, 1935, kCheckHeight}},
    {"cmdValidate", 1, "All  Listed: &Validate Requirements", C::TabOptions, {120, 1680, 3135, 375}},
    {"cmdCheckDays", 1, "All Listed: Check Days Used", C::TabOptions, {120, 2160, 3135, 375}},
    {"txtMessage", -1, "", C::TabOptions, {120, 2640, 2175, 330}},

    // The log's top edge runs under the Stop button, which stays on top.
    {"txtLog", -1, "", C::Window, {80, 5640, 4095, 1935}},
    {"cmdStop", -1, "&Stop", C::Window, {120, 5400, 1575, 375}},
    {"Label13", -1, "Selected item:", C::Window, {4320, 120, 1215, 255}},
    {"cmdCF4", -1, "Claim &Form", C::Window, {5520, 0, 1575, 375}},
    {"cmdPrint", -1, "&Print", C::Window, {7200, 0, 1575, 375}},
    {"cmdValidate", 0, "&Validate", C::Window, {8880, 0, 1575, 375}},
    {"cmdCheckDays", 0, "Check Days Used", C::Window, {10560, 0, 1575, 375}},
    {"lblCount", -1, "Count", C::Window, {12360, 120, 735, 255}},
    {"cmdValidate2", 2, "&Validate2", C::Window, {13200, 0, 1575, 375}},
    // Made before the grid so that the grid, grown by the window, lies above it.
    {"Label1", -1, "PhilHealth Patients", C::Window, {13440, 8160, 2535, 375}},
    {"Grid1", -1, "", C::Window, {4320, 480, 8175, 3375}},

    // Present but never shown by the window itself.
    {"cmdClose", -1, "&Close", C::Window, {11880, 3240, 4335, 375}},
    {"cmdSaveAllOrders", -1, "Save ALL Listed Patients Orders to Course in the Ward", C::Window,
     {13200, 6840, 1815, 735}},
    {"fraImport", -1, "Import All Orders", C::Window, {5160, 720, 2895, 6015}},
    {"cmdX", -1, "X", C::FraImport, {2280, 0, 375, 255}},
    {"txtIDNumDOCORD", -1, "", C::FraImport, {120, 360, 975, 315}},
    {"cmdImportAllOrdres", -1, "Import ", C::FraImport, {1200, 240, 1335, 375}},
    {"grdDocOrders", -1, "", C::FraImport, {120, 720, 2475, 2535}},
    {"grdDocOrdersOPD", -1, "", C::FraImport, {120, 3360, 2475, 2535}},
};

} // namespace

std::span<const ControlDesign> claimWorklistDesign()
{
    return kDesign;
}

const ControlDesign& controlDesign(const char* name, int index)
{
    for (const ControlDesign& control : kDesign) {
        if (std::strcmp(control.name, name) == 0 && control.index == index)
            return control;
    }
    std::abort();
}

FollowingSizes followWindowSize(int outerWidth, int outerHeight)
{
    const TwipsRect grid = controlDesign("Grid1").rect;
    const TwipsRect log = controlDesign("txtLog").rect;
    const auto positive = [](int size) { return size >= 0 ? std::optional(size) : std::nullopt; };
    return {positive(outerWidth - grid.left - 400), positive(outerHeight - grid.top - 1200),
            positive(outerHeight - log.top - 1200)};
}

int logTopUnderStop()
{
    const TwipsRect stop = controlDesign("cmdStop").rect;
    const TwipsRect log = controlDesign("txtLog").rect;
    return std::max(stop.top + stop.height - log.top, 0);
}

} // namespace vantik::worklist
