#pragma once

#include "ecf4/cf4_form.h"

#include <QByteArray>

namespace vantik::ecf4 {

/// The CF4 as PhilHealth's XML document (root EPCB, DTD version 1.20), UTF-8,
/// without a DOCTYPE: one ENLISTMENT, PROFILE and SOAP, one COURSEWARD per course
/// note, one MEDICINE per drug record or the no-medicine (NOMED) record when there
/// is none, LABRESULTS and every other section at PhilHealth's fixed values, and
/// every attribute the DTD declares. The same form gives the same bytes.
///
/// It writes what it is given: whether PhilHealth takes it is checkForm's to say.
/// A value holding a character XML cannot carry throws std::invalid_argument
/// rather than writing a document that is not XML.
QByteArray writeCf4Document(const Cf4Form& form);

/// "2026-11-30"; the empty text for an invalid date.
QString cf4Date(const QDate& date);

} // namespace vantik::ecf4
