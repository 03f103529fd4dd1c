#pragma once

#include <QString>

namespace vantik {

class Recordset;

/// The vital signs of one admission or visit: from the out-patient history for an
/// out-patient identifier, from the nurses' vital signs otherwise. Both give the
/// fields Temperature, RespRate, BP and PulseRate.
QString vitalsStatement(const QString& idNum);

/// The user-log line of an admission: its first vital-signs record, or none.
QString vitalsLine(const QString& idNum, const Recordset& vitals);

} // namespace vantik
