#pragma once

#include "host/claimforms/claim_form_classes.h"
#include "host/claimforms/claim_form_environment.h"
#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/library_windows.h"

#include <QPointer>

namespace vantik {

/// One claim form of the built-in library over the logged-in connection.
class BuiltinClaimForm final : public ClaimForm {
public:
    /// The form's windows are kept among the library's, so that an admission has
    /// one entry window whichever form object shows it.
    BuiltinClaimForm(ClaimFormEnvironment environment, LibraryWindows& windows);

    void IDNUM(const QString& idNum) override { m_idNum = idNum; }
    QString IDNUM() const override { return m_idNum; }
    void StationID(const QString& station) override { m_stationId = station; }
    QString StationID() const override { return m_stationId; }
    void Title(const QString& title) override { m_title = title; }
    QString Title() const override { return m_title; }
    void nonmodal(bool value) override { m_nonmodal = value; }
    bool nonmodal() const override { return m_nonmodal; }
    void Addonly(bool value) override { m_addOnly = value; }
    bool Addonly() const override { return m_addOnly; }

    void showEntry(bool print = false) override;
    QString verifydata() override;
    bool ValidateRequirements() override;
    void UnloadForm() override;
    void SetRowColor(FlexGrid& grid, int row, std::uint32_t oleColor) override;
    void LoadDocOrders(const QString& idNum, FlexGrid& grid, QString& outcome) override;
    void ImportOrders(const QString& idNum, FlexGrid& grid, QString& outcome) override;

    /// The entry window this object opened, while it is open and shows this
    /// object's admission.
    ClaimFormWindow* entryWindow() const;

private:
    ClaimFormEnvironment m_environment;
    LibraryWindows& m_windows;
    QPointer<ClaimFormWindow> m_window;
    int m_showing = 0; // the window's showing of this object's admission
    QString m_idNum;
    QString m_stationId;
    QString m_title;
    bool m_nonmodal = false;
    bool m_addOnly = false;
};

} // namespace vantik
