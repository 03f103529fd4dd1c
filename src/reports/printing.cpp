#include "reports/printing.h"

#include "host/claimforms/claim_form_classes.h"
#include "host/component_error.h"
#include "host/ui/busy_guards.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/ui/message_loop.h"
#include "host/user/current_user.h"
#include "worklist/current_claim_form.h"
#include "worklist/frm_claim_worklist.h"

#include <optional>

namespace vantik {

void printGridTitled(FrmClaimWorklist& main, QWidget* window, const QString& title, FlexGrid& grid)
{
    std::optional<BusyPointer> busy(std::in_place);
    try {
        main.services().messageLoop.yieldOnce();
        main.pclsUser->VODURIZevevar().PrintGrid(title, grid);
    } catch (const std::exception& error) {
        busy.reset(); // the clerk reads the message with the normal pointer
        main.services().messages.warning(window, errorDescription(error));
    }
}

void printWorklist(FrmClaimWorklist& main)
{
    printGridTitled(main, &main, QStringLiteral("Claims Worklist"), *main.Grid1);
}

void printClaimEntry(FrmClaimWorklist& main)
{
    try {
        claimFormOfCurrentRow(main)->showEntry(true);
    } catch (const std::exception& error) {
        main.services().messages.warning(&main, errorDescription(error));
    }
}

} // namespace vantik
