#pragma once

#include "ecf4/cf4_form.h"
#include "ecf4/cf4_source.h"

namespace vantik::ecf4 {

/// The CF4 that the HIS's records make, in PhilHealth's terms: the HIS's words
/// coded through the code tables, numbers without blanks or trailing zeros, dates
/// read, the vital signs, height and weight of one record each. It decides where
/// each item comes from; it never judges (see checkForm) and never shortens or
/// drops a value: what cannot be coded is listed as uncoded.
Cf4Form composeForm(const Cf4Source& source, const CodeTables& codes, const Facility& facility,
                    const QDate& exportDate);

} // namespace vantik::ecf4
