#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace vantik {

class FlexGrid;

/// One claim form (CF4) of the claim-form library. Property values are kept
/// until the next call on the same object.
class ClaimForm {
public:
    virtual ~ClaimForm() = default;

    virtual void IDNUM(const QString& idNum) = 0;
    virtual QString IDNUM() const = 0;
    virtual void StationID(const QString& station) = 0;
    virtual QString StationID() const = 0;
    virtual void Title(const QString& title) = 0;
    virtual QString Title() const = 0;
    virtual void nonmodal(bool value) = 0;
    virtual bool nonmodal() const = 0;
    virtual void Addonly(bool value) = 0;
    virtual bool Addonly() const = 0;

    /// Shows the entry window of IDNUM; with print true, its printable summary.
    virtual void showEntry(bool print = false) = 0;
    /// Empty when the claim form is complete, otherwise the finding to log.
    virtual QString verifydata() = 0;
    virtual bool ValidateRequirements() = 0;
    /// Closes this object's entry window, if one is open.
    virtual void UnloadForm() = 0;
    /// Paints one row of a grid.
    virtual void SetRowColor(FlexGrid& grid, int row, std::uint32_t oleColor) = 0;
    /// Doctor orders of an admission: list them into the grid, or import them;
    /// the outcome text ("found", "new", ...) is written to the last argument.
    virtual void LoadDocOrders(const QString& idNum, FlexGrid& grid, QString& outcome) = 0;
    virtual void ImportOrders(const QString& idNum, FlexGrid& grid, QString& outcome) = 0;
};

/// The insurance (days used) window of the selected patient.
class InsuranceForm {
public:
    virtual ~InsuranceForm() = default;
    virtual void ShowForm() = 0;
};

/// The root of the claim-form library, as the current-user component gives it.
class ClaimFormClasses {
public:
    virtual ~ClaimFormClasses() = default;

    virtual void UseClasses(bool value) = 0;
    /// Prepares the library on the logged-in connection; called once.
    virtual void InitWithDB() = 0;
    /// A new claim-form object on every call.
    virtual std::shared_ptr<ClaimForm> clsCF4() = 0;
    virtual void SetPatient(const QString& hospNum, const QString& idNum, const QString& station, bool flag) = 0;
    virtual InsuranceForm& insurance() = 0;
    /// Prints the grid under the title.
    virtual void PrintGrid(const QString& title, FlexGrid& grid) = 0;
};

} // namespace vantik
