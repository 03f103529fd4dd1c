#include "host/claimforms/builtin_claim_form_classes.h"

#include "host/claimforms/builtin_claim_form.h"
#include "host/claimforms/days_used.h"
#include "host/claimforms/days_used_window.h"
#include "host/claimforms/grid_print_preview.h"
#include "host/component_error.h"
#include "host/data/settings_store.h"
#include "host/user/current_user.h"

#include <QApplication>


namespace vantik {

BuiltinClaimFormClasses::BuiltinClaimFormClasses(ClaimFormEnvironment environment)
    : m_environment(std::move(environment))
{
}

BuiltinClaimFormClasses::~BuiltinClaimFormClasses() = default;

void BuiltinClaimFormClasses::UseClasses(bool value)
{
    m_useClasses = value;
}

void BuiltinClaimFormClasses::InitWithDB()
{
    if (!m_useClasses)
        throw ComponentError(QStringLiteral("The claim-form library cannot start: it has not been enabled "
                                            "(UseClasses) first."));
    if (!m_environment.user.Connected())
        throw ComponentError(QStringLiteral("The claim-form library cannot start: not logged in, there is no "
                                            "database connection."));
    m_initialized = true;
}

void BuiltinClaimFormClasses::requireStarted(const QString& action) const
{
    if (!m_useClasses)
        throw ComponentError(
            QStringLiteral("The claim-form library cannot %1: it has not been enabled (UseClasses).").arg(action));
    if (!m_initialized)
        throw ComponentError(
            QStringLiteral("The claim-form library cannot %1: it has not been started (InitWithDB).").arg(action));
}

std::shared_ptr<ClaimForm> BuiltinClaimFormClasses::clsCF4()
{
    requireStarted(QStringLiteral("create a claim form"));
    return std::make_shared<BuiltinClaimForm>(m_environment, m_windows);
}

void BuiltinClaimFormClasses::SetPatient(const QString& hospNum, const QString& idNum, const QString&, bool)
{
    requireStarted(QStringLiteral("select a patient"));
    m_hospNum = hospNum;
    m_idNum = idNum;
}

InsuranceForm& BuiltinClaimFormClasses::insurance()
{
    requireStarted(QStringLiteral("show the insurance days"));
    return *this;
}

int BuiltinClaimFormClasses::yearlyDaysLimit() const
{
    if (!m_environment.settings)
        return kDefaultYearlyDaysLimit;
    bool ok = false;
    const int limit = m_environment.settings
                          ->read(QStringLiteral("VANTIK"), QStringLiteral("ClaimForms"), QStringLiteral("YearlyDaysLimit"),
                                 QString::number(kDefaultYearlyDaysLimit))
                          .trimmed()
                          .toInt(&ok);
    return ok && limit >= 0 ? limit : kDefaultYearlyDaysLimit;
}

void BuiltinClaimFormClasses::ShowForm()
{
    if (m_idNum.isEmpty() && m_hospNum.isEmpty())
        throw ComponentError(QStringLiteral("No patient is selected for the insurance window."));
    const DaysUsed used = readDaysUsed(m_environment.user.sqlconnection(), m_hospNum, m_idNum,
                                       m_environment.now().date(), yearlyDaysLimit());
    auto* window = new DaysUsedWindow(used);
    m_windows.adopt(window);
    window->show();
}

void BuiltinClaimFormClasses::PrintGrid(const QString& title, FlexGrid& grid)
{
    requireStarted(QStringLiteral("print a grid"));
    previewGrid(QApplication::activeWindow(), title, grid);
}

} // namespace vantik
