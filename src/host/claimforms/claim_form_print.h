#pragma once

#include <QDateTime>

class QPrinter;

namespace vantik {

struct ClaimFormRecord;

/// Sets the printer up for a claim form: portrait with 15 mm margins.
void prepareClaimFormPage(QPrinter& printer);

/// Paints the claim form's summary on the printer's pages as they are set up.
/// Every page starts with the patient's name, the admission and hospital
/// number and the print time, and ends with "Page n of m"; a table broken by a
/// page repeats its header row on the next. Returns the number of pages.
/// Throws ComponentError when the printer cannot be opened or a page added.
int paintClaimForm(QPrinter& printer, const ClaimFormRecord& form, const QDateTime& printedAt);

} // namespace vantik
