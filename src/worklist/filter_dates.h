#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace vantik {

/// The form the program writes into the date boxes: "mm/dd/yyyy".
QString dateBoxText(const QDate& date);

/// A date box's text read as a date (month/day/year and the other forms the
/// database reads); nullopt when it is no date. A time part is ignored.
std::optional<QDate> readDateBox(const QString& text);

/// The upper bound of a date filter: the end date plus one day, without a time,
/// so that the whole end day is included; written 'yyyymmdd', which SQL Server
/// reads the same under every login language. nullopt when the end date cannot
/// be read.
std::optional<QString> upperDateBound(const QString& endDateText);

} // namespace vantik
