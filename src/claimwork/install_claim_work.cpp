#include "claimwork/install_claim_work.h"

#include "claimwork/batch_validation.h"
#include "claimwork/ecf4_listed.h"
#include "claimwork/gu_marking.h"
#include "claimwork/listed_checks.h"
#include "claimwork/open_claim_form.h"
#include "claimwork/orders_import.h"
#include "claimwork/row_walk.h"
#include "host/ui/flex_grid_widget.h"
#include "worklist/frm_claim_worklist.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QStatusBar>

namespace vantik {

namespace {

/// A click on the import panel's frame hides the panel, as its X does.
class HideOnClick : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease)
            static_cast<QWidget*>(watched)->hide();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void installClaimWork(FrmClaimWorklist& window)
{
    FrmClaimWorklist* w = &window;
    // Made now rather than on the first walk, so the window's layout does not jump then.
    window.statusBar()->setObjectName(QStringLiteral("statusBar"));
    // The bar paints its message itself; a screen reader reads it as the bar's name.
    QStatusBar* bar = window.statusBar();
    bar->setAccessibleName(QStringLiteral("Status"));
    QObject::connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
        bar->setAccessibleName(message.isEmpty() ? QStringLiteral("Status") : message);
    });

    QObject::connect(window.cmdCF4, &QPushButton::clicked, w, [w] { openClaimForm(*w); });
    QObject::connect(window.Grid1, &FlexGridWidget::cellDoubleClicked, w, [w] { openClaimFormFromGrid(*w); });
    QObject::connect(window.Grid1, &FlexGridWidget::keyDown, w, [w](int key, Qt::KeyboardModifiers) {
        // Return and the keypad's Enter are the same key code 13 to the grid.
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            openClaimFormFromGrid(*w);
    });

    for (int index = 0; index < int(window.cmdValidate.size()); ++index)
        QObject::connect(window.cmdValidate[index], &QPushButton::clicked, w, [w, index] { cmdValidate_Click(*w, index); });
    QObject::connect(window.cmdValidate2, &QPushButton::clicked, w, [w] { checkRequirements(*w); });
    for (QPushButton* button : window.cmdCheckDays)
        QObject::connect(button, &QPushButton::clicked, w, [w] { checkDaysUsed(*w); });
    QObject::connect(window.cmdCheckHTWT, &QPushButton::clicked, w, [w] { checkHeightWeight(*w); });
    QObject::connect(window.mCountCourse, &QAction::triggered, w, [w] { countCourseNotes(*w); });
    QObject::connect(window.mMarkGU, &QAction::triggered, w,
                     [w] { MarkGUEntries(*w, claimwork::GuMarking::NotApplicable); });
    QObject::connect(window.mGUFNotAssessed, &QAction::triggered, w,
                     [w] { MarkGUEntries(*w, claimwork::GuMarking::NotAssessed); });
    QObject::connect(window.cmdCheckECF4, &QPushButton::clicked, w, [w] { checkListedCf4(*w); });
    QObject::connect(window.mCheckECF4, &QAction::triggered, w, [w] { checkListedCf4(*w); });
    QObject::connect(window.cmdExportECF4, &QPushButton::clicked, w, [w] { exportListedCf4(*w); });
    QObject::connect(window.mExportECF4, &QAction::triggered, w, [w] { exportListedCf4(*w); });
    QObject::connect(window.cmdGenerateScript, &QPushButton::clicked, w, [w] { generateUpdateScript(*w); });

    QObject::connect(window.cmdImportAllOrdres, &QPushButton::clicked, w, [w] { importAllOrders(*w); });
    QObject::connect(window.cmdSaveAllOrders, &QPushButton::clicked, w, [w] { saveAllOrders(*w); });
    QObject::connect(window.mSaveAll, &QAction::triggered, w, [w] { saveAllOrders(*w); });
    QObject::connect(window.cmdX, &QPushButton::clicked, window.fraImport, &QWidget::hide);
    window.fraImport->installEventFilter(new HideOnClick(window.fraImport));
}

} // namespace vantik
