#include "host/claimforms/builtin_claim_form.h"

#include "host/claimforms/claim_form_requirements.h"
#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/doctor_orders.h"
#include "host/ui/flex_grid.h"
#include "host/user/current_user.h"

#include <QEventLoop>

namespace vantik {

BuiltinClaimForm::BuiltinClaimForm(ClaimFormEnvironment environment, std::function<void(QWidget*)> adoptWindow)
    : m_environment(std::move(environment))
    , m_adoptWindow(std::move(adoptWindow))
{
}

void BuiltinClaimForm::showEntry(bool print)
{
    // One entry window per object: showing again shows the admission now set.
    UnloadForm();
    auto* window = new ClaimFormWindow(m_environment, m_idNum, m_title);
    m_window = window;
    if (m_adoptWindow)
        m_adoptWindow(window);
    if (!m_nonmodal)
        window->setWindowModality(Qt::ApplicationModal);
    window->show();
    if (print)
        window->openPrintPreview();
    if (!m_nonmodal) {
        QEventLoop untilClosed;
        QObject::connect(window, &QObject::destroyed, &untilClosed, &QEventLoop::quit);
        untilClosed.exec();
    }
}

QString BuiltinClaimForm::verifydata()
{
    const std::optional<ClaimFormRecord> form = loadClaimForm(m_environment.user.sqlconnection(), m_idNum);
    if (!form)
        return QStringLiteral("Admission not found");
    return verificationFinding(*form);
}

bool BuiltinClaimForm::ValidateRequirements()
{
    return verifydata().isEmpty();
}

void BuiltinClaimForm::UnloadForm()
{
    if (m_window)
        delete m_window.data();
}

void BuiltinClaimForm::SetRowColor(FlexGrid& grid, int row, std::uint32_t oleColor)
{
    grid.setRowBackground(row, oleColor);
}

void BuiltinClaimForm::LoadDocOrders(const QString& idNum, FlexGrid& grid, QString& outcome)
{
    outcome = loadDoctorOrders(m_environment.user.sqlconnection(), idNum, grid);
}

void BuiltinClaimForm::ImportOrders(const QString& idNum, FlexGrid& grid, QString& outcome)
{
    const QString clerk = m_environment.clerkName ? m_environment.clerkName() : QString();
    outcome = importDoctorOrders(m_environment.user.sqlconnection(), idNum, grid, clerk);
}

} // namespace vantik
