// What the entry window does beyond saving a section: importing the doctors'
// orders and the clerk's verification, each recorded in the user log.

#include "host/claimforms/claim_form_verification.h"
#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/doctor_orders.h"
#include "host/component_error.h"
#include "host/data/database_error.h"
#include "host/ui/flex_grid_widget.h"
#include "host/user/current_user.h"

#include <QLabel>
#include <QPushButton>

namespace vantik {

void ClaimFormWindow::importOrders()
{
    if (!m_form)
        return;
    m_touched = true;
    QString outcome;
    try {
        outcome = loadDoctorOrders(m_environment.user.sqlconnection(), m_idNum, *grdOrders);
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("The doctors' orders could not be read: ") + errorDescription(error), true);
        return;
    }
    if (outcome != QLatin1String("found")) {
        lblOrders->setText(QStringLiteral("This admission has no doctors' orders."));
        return;
    }
    const int orders = grdOrders->rowCount() - 1;
    try {
        outcome = importDoctorOrders(m_environment.user.sqlconnection(), m_idNum, *grdOrders, clerk());
    } catch (const OrdersImportStopped& stopped) {
        // Notes added before the failure stay: the user log records them, the reload shows them.
        QString logFailure = writeUserLog(stopped.logLine());
        if (!logFailure.isEmpty())
            logFailure = QStringLiteral(" The user log could not be written: ") + logFailure;
        load(true);
        showMessage(QStringLiteral("The doctors' orders were not all imported (added %1 of %2): %3")
                            .arg(stopped.added)
                            .arg(stopped.orders)
                            .arg(stopped.message())
                        + logFailure,
                    true);
        return;
    } catch (const std::exception& error) {
        load(true);
        showMessage(QStringLiteral("The doctors' orders were not all imported: ") + errorDescription(error), true);
        return;
    }
    if (outcome == QLatin1String("new")) {
        lblOrders->setText(
            QStringLiteral("Found %1 doctors' orders; the new ones were added to the course in the ward.").arg(orders));
        saved(ClaimFormSection::CourseInTheWard, QStringLiteral("doctors' orders imported"));
    } else {
        lblOrders->setText(QStringLiteral("Found %1 doctors' orders; every one is in the course in the ward already.")
                               .arg(orders));
    }
}

bool ClaimFormWindow::alreadyVerified() const
{
    return m_form && !m_form->verifiedBy.trimmed().isEmpty();
}

bool ClaimFormWindow::canMarkVerified() const
{
    return m_form && !alreadyVerified() && missingSections(*m_form).isEmpty();
}

void ClaimFormWindow::markVerified()
{
    if (!canMarkVerified())
        return;
    m_touched = true;
    const QString by = clerk();
    try {
        // The clerk attests what the window showed, every row of it, not only the profile.
        markShownClaimFormVerified(m_environment.user.sqlconnection(), m_idNum, by, now(),
                                   ShownClaimForm{*m_form, m_seen});
    } catch (const DatabaseError& error) {
        if (error.message() == QLatin1String(kRecordChangedMessage))
            showChangedByAnother();
        else
            showMessage(QStringLiteral("Not marked verified: ") + error.message(), true);
        return;
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("Not marked verified: ") + errorDescription(error), true);
        return;
    }
    const QString logFailure = writeUserLog(QStringLiteral("%1 CF4 verified by %2").arg(m_idNum, by));
    load(true);
    if (logFailure.isEmpty())
        showMessage(QStringLiteral("Marked verified by %1.").arg(by), false);
    else
        showMessage(QStringLiteral("Marked verified by %1, but the user log could not be written: %2")
                        .arg(by, logFailure),
                    true);
}

} // namespace vantik
