#include "tools/bench/bench_support.h"

#include "batchupdate/frm_batch_update.h"
#include "host/data/embedded_connection.h"
#include "host/ui/flex_grid_widget.h"
#include "worklist/frm_claim_worklist.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

namespace vantik::bench {

double millisecondsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString monthStart()
{
    return QDate(kLastDay.year(), kLastDay.month(), 1).toString(QStringLiteral("MM/dd/yyyy"));
}

QString yearStart()
{
    return kLastDay.addYears(-1).addDays(1).toString(QStringLiteral("MM/dd/yyyy"));
}

void listPatients(FrmClaimWorklist& w, const QString& startDate, bool top500, bool vitals)
{
    w.optPatType[0]->setChecked(true);
    w.optDateType[0]->setChecked(true);
    w.optDischarged[0]->setChecked(true);
    for (QLineEdit* box : {w.txtIDNum, w.txtHospNum, w.txtLastName, w.txtFirstName, w.txtDrID, w.txtAssignedTo,
                           w.txtVerifiedBy, w.txtOpenBy, w.txtChangedBy})
        box->clear();
    for (QCheckBox* box : {w.chkHemoPatient, w.chkHasHemoNum, w.chkChemo, w.chkVerifiedOnly, w.chkUnverifiedOnly,
                           w.chkMedicare})
        box->setChecked(false);
    w.txtStartDate->setText(startDate);
    w.txtEndDate->setText(kLastDay.toString(QStringLiteral("MM/dd/yyyy")));
    w.chkTop500->setChecked(top500);
    w.chkGETVitals->setChecked(vitals);
}

QString copyDatabase(const QString& folder, std::optional<QTemporaryDir>& copy)
{
    copy.emplace();
    if (!copy->isValid())
        throw std::runtime_error("No temporary folder for the copy of the database.");
    for (const QString& name : EmbeddedConnection::databaseNames()) {
        for (const QString& suffix : {QStringLiteral(".sqlite"), QStringLiteral(".sqlite-wal")}) {
            const QString file = name + suffix;
            const QString source = QDir(folder).filePath(file);
            if (suffix != QLatin1String(".sqlite") && !QFile::exists(source))
                continue;
            if (!QFile::copy(source, QDir(copy->path()).filePath(file)))
                throw std::runtime_error("Copying " + file.toStdString() + " failed.");
        }
    }
#ifdef Q_OS_LINUX
    // The copy on disk before the timing starts, so that its write-back does not
    // fall into a measured case.
    ::sync();
#endif
    return copy->path();
}

RouteChange commonestRouteChange(const FrmBatchUpdate& drugs)
{
    std::map<std::pair<QString, QString>, int> counts;
    std::map<QString, std::set<QString>> routes;
    const FlexGridWidget& grid = *drugs.Grid1;
    for (int row = 2; row < grid.rowCount(); ++row) {
        const QString drug = grid.text(row, batchupdate::GenericName);
        const QString route = grid.text(row, batchupdate::Route);
        if (drug.isEmpty() || route.isEmpty())
            continue;
        ++counts[{drug, route}];
        routes[drug].insert(route);
    }
    RouteChange change;
    for (const auto& [key, count] : counts) {
        if (count > change.records)
            change = RouteChange{key.first, key.second, QString(), count};
    }
    if (change.records == 0)
        throw std::runtime_error("The listed patients have no drugs.");
    const std::set<QString>& taken = routes[change.drug];
    for (const char* candidate : {"IVP", "PO", "IM", "SC", "IVTT"}) {
        if (!taken.count(QString::fromLatin1(candidate))) {
            change.to = QString::fromLatin1(candidate);
            break;
        }
    }
    if (change.to.isEmpty())
        change.to = change.from + QStringLiteral("-B");
    return change;
}

void fillRouteChange(FrmBatchUpdate& drugs, const QString& drug, const QString& from, const QString& to)
{
    drugs.txtDrugName->setText(drug);
    const int routeBox = batchupdate::Route - batchupdate::kFirstBoxColumn;
    for (int j = 0; j < batchupdate::kBoxCount; ++j) {
        drugs.txtField[j]->setText(j == routeBox ? from : QString());
        drugs.txtFieldTO[j]->setText(j == routeBox ? to : QString());
    }
}

} // namespace vantik::bench
