#include "reports/frm_report.h"

#include "host/ui/flex_grid_widget.h"
#include "host/ui/font_fit.h"
#include "host/ui/wrapping_buttons.h"
#include "reports/accomplishment_report.h"
#include "reports/printing.h"
#include "reports/report_layout.h"
#include "worklist/secondary_window.h"
#include "worklist/frm_claim_worklist.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include <algorithm>
#include <utility>

namespace vantik {

namespace design = reports::report_design;

FrmReport::FrmReport(FrmClaimWorklist& main)
    : QWidget(nullptr, Qt::Window)
    , m_main(main)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Report"));
    setAttribute(Qt::WA_DeleteOnClose);

    cmdPrint = new WrapPushButton(QStringLiteral("&Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setGeometry(design::cmdPrint.toPixels());
    cmdClose = new WrapPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(design::cmdClose.toPixels());
    cmdClose->hide();
    Grid2 = new FlexGridWidget(this);
    Grid2->setObjectName(QStringLiteral("Grid2"));
    Grid2->setGridName(QStringLiteral("Accomplishment report"));
    Grid2->setGeometry(design::Grid2.toPixels());
    Grid2->hide();

    const QRect printRect = design::cmdPrint.toPixels();
    setFont(chooseWindowFont({QString::fromLatin1(reports::kReportsFont)}, reports::kReportsPointSize,
                             {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")},
                             {{cmdPrint->text(), QSize(printRect.width() - 8, printRect.height() - 4)}}));
    resize(twipsToPixels(design::kClientWidth), twipsToPixels(design::kClientHeight));

    connect(cmdPrint, &QPushButton::clicked, this,
            [this] { printGridTitled(m_main, this, QStringLiteral("Accomplishment Report"), *Grid2); });
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void FrmReport::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize outer = frameGeometry().size();
    const reports::FollowingSize size = reports::reportGridSize(pixelsToTwips(outer.width()), pixelsToTwips(outer.height()));
    if (size.width)
        Grid2->resize(twipsToPixels(*size.width), Grid2->height());
    if (size.height)
        Grid2->resize(Grid2->width(), twipsToPixels(*size.height));
}

void FrmReport::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdClose->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FrmReport::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        m_open = false;
}

FrmReport* reportWindow(FrmClaimWorklist& main)
{
    FrmReport* window = SecondaryWindow<FrmReport>::of(main);
    return window && window->isOpen() ? window : nullptr;
}

void BuildAccomplishmentReport(FrmClaimWorklist& main, int doctorColumn)
{
    main.RefreshWorklist(1);

    FrmReport* report = reportWindow(main);
    if (!report)
        SecondaryWindow<FrmReport>::of(main) = report = new FrmReport(main);
    fillAccomplishmentReport(*report->Grid2, *main.Grid1, doctorColumn);
    report->show();
    report->raise();
    report->activateWindow();
    report->Grid2->show();
}

void fillAccomplishmentReport(FlexGridWidget& report, const FlexGrid& worklist, int doctorColumn)
{
    report.reset(1, 5);
    report.setColumnWidth(0, reports::report_design::kServiceWidth);
    report.setColumnWidth(1, reports::report_design::kDoctorWidth);
    report.setText(0, 0, QStringLiteral("Service"));
    report.setText(0, 1, QStringLiteral("Doctor"));
    report.setText(0, 2, QStringLiteral("Complete"));
    report.setText(0, 3, QStringLiteral("Incomplete"));

    for (const QString& row : accomplishmentReportRows(reportSourceRows(worklist, doctorColumn)))
        report.appendRow(row);
    // A service or doctor longer than the designed width widens its column rather
    // than lose its end (a doctor's specialization comes last).
    for (const auto& [column, designed] : {std::pair{0, reports::report_design::kServiceWidth},
                                           std::pair{1, reports::report_design::kDoctorWidth}})
        report.setColumnWidth(column, std::max(designed, report.fittingWidth(column)));
}

} // namespace vantik
