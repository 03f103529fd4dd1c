#pragma once

#include <QString>

namespace vantik {

/// The vital signs of one admission or visit: from the out-patient history for an
/// out-patient identifier, from the nurses' vital signs otherwise. Both give the
/// fields Temperature, RespRate, BP and PulseRate.
QString vitalsStatement(const QString& idNum);

/// The user-log line of the first vital-signs record read, or of none.
QString vitalsLine(const QString& idNum, bool found, const QString& bp, const QString& temperature,
                   const QString& pulseRate, const QString& respRate);

} // namespace vantik
