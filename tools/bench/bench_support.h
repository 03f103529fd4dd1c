#pragma once

#include <QDate>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <optional>
#include <vector>

namespace vantik {
class FrmBatchUpdate;
class FrmClaimWorklist;
} // namespace vantik

namespace vantik::bench {

using SteadyClock = std::chrono::steady_clock;

// The demo data's last day: its dates fall in the 24 months ending here.
inline const QDate kLastDay{2026, 11, 30};

double millisecondsSince(SteadyClock::time_point start);
double median(std::vector<double> values);

/// A copy of the embedded database files in folder (with their write-ahead logs)
/// in a new temporary folder, synced to disk so that the copy's writing-back does
/// not run under the measurements. Returns the copy's folder.
QString copyDatabase(const QString& folder, std::optional<QTemporaryDir>& copy);

/// The first day of the demo data's last month, and the day a year before its last day.
QString monthStart();
QString yearStart();

/// Sets the main window's filters to the in-patients registered from startDate to
/// the last day, every other filter cleared.
void listPatients(FrmClaimWorklist& window, const QString& startDate, bool top500, bool vitals = false);

/// A change of one field of one drug that a clerk might make over the list, read
/// from the drug grid of a listing run: the drug's most frequent route, changed to a
/// route none of its listed records has, so that running it again the other way
/// round changes the same records back.
struct RouteChange {
    QString drug;
    QString from;
    QString to;
    int records = 0; // the listed records of the drug with that route
};
/// Throws when the listing found no drug.
RouteChange commonestRouteChange(const FrmBatchUpdate& drugs);

/// Fills the drug window's boxes for a change of the route alone: the other Find
/// and Replace boxes empty, so only the route is compared and written.
void fillRouteChange(FrmBatchUpdate& drugs, const QString& drug, const QString& from, const QString& to);

} // namespace vantik::bench
