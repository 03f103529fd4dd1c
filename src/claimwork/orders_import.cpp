#include "claimwork/orders_import.h"

#include "claimwork/listed_rows.h"
#include "host/claimforms/claim_form_classes.h"
#include "host/claimforms/doctor_orders.h"
#include "host/component_error.h"
#include "host/ui/busy_guards.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/user/current_user.h"
#include "worklist/frm_claim_worklist.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace vantik {

void importAllOrders(FrmClaimWorklist& window)
{
    try {
        BusyPointer busy;
        const std::shared_ptr<ClaimForm> form = window.pclsUser->VODURIZevevar().clsCF4();
        form->Addonly(true);
        QString status;
        form->LoadDocOrders(window.txtIDNumDOCORD->text(), *window.grdDocOrders, status);
        if (status == QLatin1String("found")) {
            form->ImportOrders(window.txtIDNumDOCORD->text(), *window.grdDocOrders, status);
            colourCurrentRow(window, status == QLatin1String("new") ? kOleGreen : kOlePaleBlue);
        } else {
            colourCurrentRow(window, kOleRed);
        }
    } catch (const OrdersImportStopped& stopped) {
        // Notes were added before the failure: the user log says how many.
        QString logFailure;
        try {
            window.pclsUser->addlog(stopped.logLine());
        } catch (const std::exception& error) {
            logFailure = errorDescription(error);
        }
        showOperationError(window, stopped);
        if (!logFailure.isEmpty())
            window.services().messages.warning(&window,
                                               QStringLiteral("The user log could not be written: ") + logFailure);
        prependLogLine(*window.txtLog, QStringLiteral("Done ") + window.txtIDNumDOCORD->text());
    } catch (const std::exception& error) {
        showOperationError(window, error);
        prependLogLine(*window.txtLog, QStringLiteral("Done ") + window.txtIDNumDOCORD->text());
    }
}

void saveAllOrders(FrmClaimWorklist& window)
{
    window.services().messages.information(&window, QStringLiteral("Feature disabled."));
}

} // namespace vantik
