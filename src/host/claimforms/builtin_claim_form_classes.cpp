#include "host/claimforms/builtin_claim_form_classes.h"

#include "host/claimforms/builtin_claim_form.h"
#include "host/claimforms/claim_form_errors.h"
#include "host/user/current_user.h"

namespace vantik {

BuiltinClaimFormClasses::BuiltinClaimFormClasses(CurrentUser& user)
    : m_user(user)
{
}

void BuiltinClaimFormClasses::UseClasses(bool value)
{
    m_useClasses = value;
}

void BuiltinClaimFormClasses::InitWithDB()
{
    if (!m_useClasses)
        throw ComponentError(QStringLiteral("The claim-form library cannot start: it has not been enabled "
                                            "(UseClasses) first."));
    if (!m_user.Connected())
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
    return std::make_shared<BuiltinClaimForm>();
}

void BuiltinClaimFormClasses::SetPatient(const QString&, const QString&, const QString&, bool)
{
    requireStarted(QStringLiteral("select a patient"));
    throw notYetAvailable(QStringLiteral("select a patient"));
}

InsuranceForm& BuiltinClaimFormClasses::insurance()
{
    requireStarted(QStringLiteral("show the insurance days"));
    throw notYetAvailable(QStringLiteral("show the insurance days"));
}

void BuiltinClaimFormClasses::PrintGrid(const QString&, FlexGrid&)
{
    requireStarted(QStringLiteral("print a grid"));
    throw notYetAvailable(QStringLiteral("print a grid"));
}

} // namespace vantik
