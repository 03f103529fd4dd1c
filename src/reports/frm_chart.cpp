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
#include "reports/chart_statement.h"
#include "reports/report_layout.h"
#include "worklist/secondary_window.h"
#include "worklist/filter_dates.h"
#include "worklist/frm_claim_worklist.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QCursor>
#include <QFileDialog>
#include <QGraphicsLayout>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QStackedBarSeries>
#include <QToolTip>
#include <QValueAxis>

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
    auto* chart = new QChart;
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignRight);
    QFont small = chart->legend()->font();
    small.setPointSizeF(7);
    chart->legend()->setFont(small);
    MSChart1 = new QChartView(chart, this);
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
        showData(std::move(data));
    } catch (const std::exception& error) {
        m_main.services().messages.warning(this, errorDescription(error));
    }
}

void FrmChart::showData(ClaimsChartData data)
{
    m_data = std::move(data);
    QChart* chart = MSChart1->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);

    auto* series = new QStackedBarSeries;
    double highest = 0;
    std::vector<double> totals(std::size_t(m_data.months.size()), 0.0);
    for (int status = 0; status < m_data.statuses.size(); ++status) {
        auto* set = new QBarSet(m_data.statuses[status]);
        for (int month = 0; month < m_data.months.size(); ++month) {
            *set << m_data.counts[status][month];
            totals[month] += m_data.counts[status][month];
        }
        series->append(set);
    }
    for (const double total : totals)
        highest = std::max(highest, total);
    chart->addSeries(series);

    auto* months = new QBarCategoryAxis;
    months->append(m_data.months);
    months->setLabelsAngle(-90);
    months->setLabelsFont(chart->legend()->font());
    chart->addAxis(months, Qt::AlignBottom);
    series->attachAxis(months);
    auto* claims = new QValueAxis;
    claims->setLabelFormat(QStringLiteral("%d"));
    claims->setRange(0, highest > 0 ? highest : 1);
    claims->applyNiceNumbers();
    claims->setLabelsFont(chart->legend()->font());
    chart->addAxis(claims, Qt::AlignLeft);
    series->attachAxis(claims);

    connect(series, &QStackedBarSeries::hovered, this, &FrmChart::showValue);
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

bool FrmChart::saveImage(const QString& path) const
{
    // A chart charted a moment ago lays itself out only on its next events.
    if (QGraphicsLayout* layout = MSChart1->chart()->layout())
        layout->activate();
    return MSChart1->grab().save(path, "PNG");
}

void FrmChart::askAndSaveImage()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save image"), QStringLiteral("claims-chart.png"),
                                                QStringLiteral("PNG image (*.png)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QLatin1String(".png");
    if (!saveImage(path))
        m_main.services().messages.warning(this, QStringLiteral("The image could not be written to %1.").arg(path));
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
