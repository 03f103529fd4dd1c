#pragma once

#include "host/claimforms/claim_form_classes.h"
#include "host/claimforms/claim_form_environment.h"
#include "host/claimforms/claim_form_window.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace vantik {

/// One claim form of the built-in library over the logged-in connection.
class BuiltinClaimForm final : public ClaimForm {
public:
    /// adoptWindow is told of every window the form opens, so that the library can
    /// close those still open when it ends.
    BuiltinClaimForm(ClaimFormEnvironment environment, std::function<void(QWidget*)> adoptWindow);

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

    /// The entry window this object opened, while it is open.
    ClaimFormWindow* entryWindow() const { return m_window; }

private:
    ClaimFormEnvironment m_environment;
    std::function<void(QWidget*)> m_adoptWindow;
    QPointer<ClaimFormWindow> m_window;
    QString m_idNum;
    QString m_stationId;
    QString m_title;
    bool m_nonmodal = false;
    bool m_addOnly = false;
};

} // namespace vantik
