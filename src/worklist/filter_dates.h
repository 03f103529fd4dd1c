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

enum class DateBound { Start, End };

/// Why a date box's text cannot bound a date filter, for the clerk; empty when it
/// can. The start date goes into the statement as typed, so it is held to the
/// same reading as the end date: a text that is no date is refused here rather
/// than by the database in its own words. A date the database cannot hold (and an
/// end date whose next day it cannot hold) is answered with the range it can.
QString dateBoundProblem(DateBound bound, const QString& text);

} // namespace vantik
