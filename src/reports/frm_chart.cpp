#include "reports/frm_chart.h"

#include "host/component_error.h"
#include "host/data/connection.h"
#include "host/data/settings_store.h"
#include "host/ui/busy_guards.h"
#include "host/ui/clock.h"
#include "host/ui/font_fit.h"
#include "host/ui/message_box.h"
#include "host/ui/wrapping_buttons.h"
#include "host/user/current_user.h"
#include "reports/chart_image.h"
#include "reports/chart_statement.h"
#include "reports/claims_chart_plot.h"
#include "reports/report_layout.h"
#include "worklist/secondary_window.h"
#include "worklist/filter_dates.h"
#include "worklist/frm_claim_worklist.h"

#include <QAction>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QStackedBarSeries>
#include <QToolTip>

#include <optional>

namespace vantik {

namespace design = reports::chart_design;

FrmChart::FrmChart(FrmClaimWorklist& main)
    : QWidget(nullptr, Qt::Window)
    , m_main(main)
{
    setObjectName(QStringLiteral("frmChart"));
    setWindowTitle(QStringLiteral("Graph Chart"));
    setAttribute(Qt::WA_DeleteOnClose);

    const auto place = [this](QWidget* control, const char* name, const TwipsRect& rect) {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(rect.toPixels());
    };
    Label2 = new QLabel(QStringLiteral("&Start Date"), this);
    place(Label2, "Label2", design::Label2);
    Label3 = new QLabel(QStringLiteral("End Date"), this);
    place(Label3, "Label3", design::Label3);
    txtStartDate = new QLineEdit(this);
    place(txtStartDate, "txtStartDate", design::txtStartDate);
    Label2->setBuddy(txtStartDate);
    txtEndDate = new QLineEdit(this);
    place(txtEndDate, "txtEndDate", design::txtEndDate);
    cmdRefresh = new WrapPushButton(QStringLiteral("Refresh"), this);
    place(cmdRefresh, "cmdRefresh", design::cmdRefresh);
    Text1 = new QLineEdit(QStringLiteral("Text1"), this);
    place(Text1, "Text1", design::Text1);
    txtEndDate->setAccessibleName(QStringLiteral("End date"));
    Text1->setAccessibleName(QStringLiteral("Chart query"));

    // The chart is short by design: small print and thin margins leave the bars room.
    m_chart = new ClaimsChart;
    MSChart1 = new QChartView(m_chart, this);
    MSChart1->setRenderHint(QPainter::Antialiasing);
    place(MSChart1, "MSChart1", design::MSChart1);

    mSaveImage = new QAction(QStringLiteral("Save image\u2026"), this);
    mSaveImage->setObjectName(QStringLiteral("mSaveImage"));
    mSaveImage->setShortcut(QKeySequence::Save);
    addAction(mSaveImage);
    MSChart1->addAction(mSaveImage);
    MSChart1->setContextMenuPolicy(Qt::ActionsContextMenu);

    const QList<CaptionRoom> captions{{Label2->text(), Label2->size()},
                                      {Label3->text(), Label3->size()},
                                      {cmdRefresh->text(), cmdRefresh->size() - QSize(8, 4)}};
    setFont(chooseWindowFont({QString::fromLatin1(reports::kReportsFont)}, reports::kReportsPointSize,
                             {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")}, captions));
    resize(twipsToPixels(design::kClientWidth), twipsToPixels(design::kClientHeight));

    // The main window's kept dates; this window never writes them back.
    const WorklistServices& services = main.services();
    const QString today = dateBoxText(services.clock.today());
    const QString application = QStringLiteral("VANTIK");
    const QString section = QStringLiteral("CF4");
    txtStartDate->setText(services.settings.read(application, section, QStringLiteral("txtStartDate"), today));
    txtEndDate->setText(services.settings.read(application, section, QStringLiteral("txtEndDate"), today));

    connect(cmdRefresh, &QPushButton::clicked, this, &FrmChart::refresh);
    connect(mSaveImage, &QAction::triggered, this, &FrmChart::askAndSaveImage);
}

void FrmChart::refresh()
{
    MSChart1->chart()->legend()->setVisible(true);
    try {
        const QString statement = buildChartStatement(txtStartDate->text(), txtEndDate->text());
        Text1->setText(statement);
        Text1->setCursorPosition(0);
        ClaimsChartData data;
        {
            BusyPointer busy;
            data = pivotClaimStatuses(m_main.pclsUser->sqlconnection().execute(statement));
        }
        m_chartedStart = txtStartDate->text();
        m_chartedEnd = txtEndDate->text();
        showData(std::move(data));
    } catch (const std::exception& error) {
        m_main.services().messages.warning(this, errorDescription(error));
    }
}

void FrmChart::showData(ClaimsChartData data)
{
    m_data = std::move(data);
    m_chart->plot(m_data, noClaimsText(m_chartedStart, m_chartedEnd));
    for (QAbstractSeries* series : m_chart->series()) {
        if (auto* bars = qobject_cast<QStackedBarSeries*>(series))
            connect(bars, &QStackedBarSeries::hovered, this, &FrmChart::showValue);
    }
}

void FrmChart::showValue(bool hovering, int month, QBarSet* status)
{
    if (!hovering || month < 0 || month >= m_data.months.size()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(QCursor::pos(),
                       QStringLiteral("%1, %2: %3").arg(m_data.months[month], status->label()).arg(status->at(month)),
                       MSChart1);
}

void FrmChart::saveImage(const QString& path, QSize size) const
{
    saveChartImage({m_data, m_chartedStart, m_chartedEnd, size}, path);
}

void FrmChart::askAndSaveImage()
{
    const std::optional<QSize> size = askChartImageSize(this, m_imageSize);
    if (!size)
        return;
    m_imageSize = *size;
    const QString png = QStringLiteral("PNG image (*.png)");
    const QString svg = QStringLiteral("SVG drawing (*.svg)");
    const QString pdf = QStringLiteral("PDF document (*.pdf)");
    QString filter = png;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save image"), QStringLiteral("claims-chart.png"),
                                                QStringList{png, svg, pdf}.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") && suffix != QLatin1String("pdf"))
        path += filter == svg ? QStringLiteral(".svg") : filter == pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
    try {
        BusyPointer busy;
        saveImage(path, m_imageSize);
    } catch (const std::exception& error) {
        m_main.services().messages.warning(this, errorDescription(error));
    }
}

void FrmChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const reports::FollowingSize size = reports::chartSize(pixelsToTwips(frameGeometry().width()));
    if (size.width)
        MSChart1->resize(twipsToPixels(*size.width), MSChart1->height());
}

void FrmChart::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        m_open = false;
}

FrmChart* chartWindow(FrmClaimWorklist& main)
{
    FrmChart* window = SecondaryWindow<FrmChart>::of(main);
    return window && window->isOpen() ? window : nullptr;
}

void showChartWindow(FrmClaimWorklist& main)
{
    FrmChart* chart = chartWindow(main);
    if (!chart)
        SecondaryWindow<FrmChart>::of(main) = chart = new FrmChart(main);
    chart->show();
    chart->raise();
    chart->activateWindow();
}

} // namespace vantik
