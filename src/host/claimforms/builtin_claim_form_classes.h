#pragma once

#include "host/claimforms/claim_form_classes.h"
#include "host/claimforms/claim_form_environment.h"
#include "host/claimforms/library_windows.h"

#include <vector>

namespace vantik {

class CurrentUser;

/// The built-in claim-form library on the current user's connection. It must be
/// enabled (UseClasses(true)) and started (InitWithDB) before anything else.
class BuiltinClaimFormClasses final : public ClaimFormClasses, private InsuranceForm {
public:
    explicit BuiltinClaimFormClasses(ClaimFormEnvironment environment);
    explicit BuiltinClaimFormClasses(CurrentUser& user)
        : BuiltinClaimFormClasses(ClaimFormEnvironment{user, {}})
    {
    }
    ~BuiltinClaimFormClasses() override;

    void UseClasses(bool value) override;
    void InitWithDB() override;
    std::shared_ptr<ClaimForm> clsCF4() override;
    void SetPatient(const QString& hospNum, const QString& idNum, const QString& station, bool flag) override;
    InsuranceForm& insurance() override;
    void PrintGrid(const QString& title, FlexGrid& grid) override;

    bool initialized() const { return m_initialized; }
    /// The yearly limit of confinement days from the settings store (0: none).
    int yearlyDaysLimit() const;
    /// The library's windows still open (entry, insurance).
    std::vector<QWidget*> openWindows() const { return m_windows.open(); }
    /// Closes them all (the program is ending).
    void closeWindows() { m_windows.closeAll(); }

private:
    void ShowForm() override;
    /// Throws when the library may not do the action yet.
    void requireStarted(const QString& action) const;

    ClaimFormEnvironment m_environment;
    bool m_useClasses = false;
    bool m_initialized = false;
    QString m_hospNum;
    QString m_idNum;
    LibraryWindows m_windows;
};

} // namespace vantik
