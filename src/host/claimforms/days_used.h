#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace vantik {

class Connection;

/// The insurer's yearly allowance of confinement days; 0 means no limit.
inline constexpr int kDefaultYearlyDaysLimit = 45;

/// One admission of the patient that overlaps the year.
struct StayInYear {
    QString idNum;
    QString admitted;   ///< as the hospital shows dates (style 0)
    QString discharged; ///< empty while still admitted
    int days = 0;       ///< days of the stay that fall in the year
};

/// The confinement days a patient used in the calendar year of one admission.
struct DaysUsed {
    QString hospNum;
    int year = 0;
    std::vector<StayInYear> stays;
    int total = 0;
    int limit = 0;
    /// Days left under the limit; none when there is no limit.
    std::optional<int> remaining() const;
};

/// Days of a stay inside the year, counted as SQL Server's DATEDIFF counts days:
/// from the later of admission and 1 January to the earlier of discharge (today
/// while admitted) and the next 1 January. Arguments are day offsets from 1 January.
int daysInYear(int admittedOffset, std::optional<int> dischargedOffset, int todayOffset, int yearLength);

/// Reads the patient's in-patient admissions in the calendar year of idNum (an
/// admission or an out-patient visit). Throws ComponentError when idNum is unknown.
DaysUsed readDaysUsed(Connection& connection, const QString& hospNum, const QString& idNum, QDate today, int limit);

} // namespace vantik
