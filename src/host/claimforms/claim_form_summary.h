#pragma once

#include <QString>

namespace vantik {

struct ClaimFormRecord;

/// The claim form as a printable HTML page: the admission and patient, then each
/// section with its entries and whether it is complete.
QString claimFormSummaryHtml(const ClaimFormRecord& form);

} // namespace vantik
