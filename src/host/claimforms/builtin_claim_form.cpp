#include "host/claimforms/builtin_claim_form.h"

#include "host/claimforms/claim_form_requirements.h"
#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/doctor_orders.h"
#include "host/ui/flex_grid.h"
#include "host/user/current_user.h"

#include <QEventLoop>

namespace vantik {

BuiltinClaimForm::BuiltinClaimForm(ClaimFormEnvironment environment, LibraryWindows& windows)
    : m_environment(std::move(environment))
    , m_windows(windows)
{
}

namespace {

// On a real display raising and activating a window is a round of messages with
// the window system; a pass that shows its rows in one window would otherwise
// send them at every row.
void bringForward(QWidget& window)
{
    if (window.isMinimized() || !window.isVisible())
        window.showNormal();
    if (!window.isActiveWindow()) {
        window.raise();
        window.activateWindow();
    }
}

} // namespace

void BuiltinClaimForm::showEntry(bool print)
{
    ClaimFormWindow* window = m_windows.entryWindowOf(m_idNum);
    if (window && (!m_nonmodal || window->isModal())) {
        // A modal window cannot become modeless while shown, nor the other way round.
        delete window;
        window = nullptr;
    }
    if (window) {
        // The admission's window is open already: bring it forward with what the
        // tables hold now.
        window->reload();
        bringForward(*window);
    } else if (ClaimFormWindow* kept = m_nonmodal ? m_windows.takeKept() : nullptr) {
        window = kept;
        window->showAdmission(m_idNum, m_title);
        m_windows.adopt(window);
        bringForward(*window);
    } else {
        window = new ClaimFormWindow(m_environment, m_idNum, m_title);
        m_windows.adopt(window);
        if (!m_nonmodal)
            window->setWindowModality(Qt::ApplicationModal);
        window->show();
    }
    m_window = window;
    m_showing = window->showing();
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

ClaimFormWindow* BuiltinClaimForm::entryWindow() const
{
    // The library may have given the window to another admission since.
    if (m_window && m_window->showing() == m_showing && m_window->idNum() == m_idNum)
        return m_window;
    return nullptr;
}

void BuiltinClaimForm::UnloadForm()
{
    if (ClaimFormWindow* window = entryWindow()) {
        m_window = nullptr;
        m_windows.giveBack(window);
    }
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
