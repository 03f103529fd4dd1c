#pragma once

#include "host/claimforms/claim_form_classes.h"

namespace vantik {

class CurrentUser;

/// The built-in claim-form library on the current user's connection. It must be
/// enabled (UseClasses(true)) and started (InitWithDB) before anything else.
class BuiltinClaimFormClasses final : public ClaimFormClasses {
public:
    explicit BuiltinClaimFormClasses(CurrentUser& user);

    void UseClasses(bool value) override;
    void InitWithDB() override;
    std::shared_ptr<ClaimForm> clsCF4() override;
    void SetPatient(const QString& hospNum, const QString& idNum, const QString& station, bool flag) override;
    InsuranceForm& insurance() override;
    void PrintGrid(const QString& title, FlexGrid& grid) override;

    bool initialized() const { return m_initialized; }

private:
    /// Throws when the library may not do the action yet.
    void requireStarted(const QString& action) const;

    CurrentUser& m_user;
    bool m_useClasses = false;
    bool m_initialized = false;
};

} // namespace vantik
