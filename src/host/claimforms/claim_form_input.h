#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace vantik {

/// What the clerk typed into a section of the entry window, checked before
/// anything is written. Each check gives the text to store, or a message that
/// names the field and the form it accepts; an invalid value saves nothing.
struct InputCheck {
    QString value;   ///< as it is stored (trimmed, numbers in their canonical form)
    QString message; ///< empty when the value is accepted

    bool ok() const { return message.isEmpty(); }
};

/// "systolic/diastolic": systolic 40–300 over diastolic 10–200, systolic above diastolic.
InputCheck checkBloodPressure(const QString& typed);
/// Degrees Celsius, 30–45, at most one decimal place.
InputCheck checkTemperature(const QString& typed);
/// Beats a minute, a whole number 20–250.
InputCheck checkPulseRate(const QString& typed);
/// Breaths a minute, a whole number 5–80.
InputCheck checkRespiratoryRate(const QString& typed);
/// Centimetres, 20–250, at most one decimal place.
InputCheck checkHeight(const QString& typed);
/// Kilograms, 0.3–350, at most two decimal places.
/// Numbers are given in their canonical form: "00072" is "72", "058.40" is "58.4".
InputCheck checkWeight(const QString& typed);

/// A date-time of the admission: not in the future, not before the admission nor
/// after the discharge (each when known). field names it in the message.
InputCheck checkTakenOn(const QString& field, const QDateTime& when, const QDateTime& admitted,
                        const QDateTime& discharged, const QDateTime& now);

/// A count of the pregnancy history: a whole number 0–99, given without leading zeros.
InputCheck checkCount(const QString& field, const QString& typed);
/// The last menstrual period: a date not after the admission's day nor the present.
InputCheck checkLastPeriod(const QDate& date, const QDateTime& admitted, const QDateTime& now);

/// A value to store fits its column: at most maxLength characters (0: no limit).
/// The message names the field, the value's length and the limit.
InputCheck checkLength(const QString& field, const QString& value, int maxLength);

/// A text that must say something; withPlaceholders also refuses what encoders
/// type instead of a text ("NA", "N/A", "none"), as the brief history's rule does.
/// maxLength is the column's (0: no limit).
InputCheck checkText(const QString& field, const QString& typed, bool refusePlaceholders, int maxLength);

} // namespace vantik
