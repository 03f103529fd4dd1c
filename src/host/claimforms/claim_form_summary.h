#pragma once

#include <QString>

namespace vantik {

struct ClaimFormRecord;

/// The claim form as a printable HTML page: the admission and patient, then each
/// section with its entries and whether it is complete.
QString claimFormSummaryHtml(const ClaimFormRecord& form);

/// A date as the database writes it, without the time when that is midnight
/// ("Jul 22 1974 12:00AM" is "Jul 22 1974"); any other text as it is.
QString shownDate(const QString& text);

} // namespace vantik
