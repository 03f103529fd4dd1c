#include "claimwork/install_claim_work.h"

#include "claimwork/open_claim_form.h"
#include "host/ui/flex_grid_widget.h"
#include "worklist/frm_claim_worklist.h"

#include <QPushButton>

namespace vantik {

void installClaimWork(FrmClaimWorklist& window)
{
    FrmClaimWorklist* w = &window;
    QObject::connect(window.cmdCF4, &QPushButton::clicked, w, [w] { openClaimForm(*w); });
    QObject::connect(window.Grid1, &FlexGridWidget::cellDoubleClicked, w, [w] { openClaimFormFromGrid(*w); });
    QObject::connect(window.Grid1, &FlexGridWidget::keyDown, w, [w](int key, Qt::KeyboardModifiers) {
        // Return and the keypad's Enter are the same key code 13 to the grid.
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            openClaimFormFromGrid(*w);
    });
}

} // namespace vantik
