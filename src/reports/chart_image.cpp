#include "reports/chart_image.h"

#include "reports/claims_chart_plot.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSpinBox>
#include <QSvgGenerator>

#include <algorithm>

namespace vantik {

namespace {

// The chart's fonts are made for a window about this wide; a larger image
// gets larger letters in proportion.
constexpr double kScreenWidth = 800.0;
constexpr double kScreenHeight = 450.0;
constexpr int kSmallestSide = 200;
constexpr int kLargestSide = 10000;

QString failure(const QString& path, const QString& reason)
{
    return QStringLiteral("The chart could not be saved to %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

void render(const ChartImage& image, QPainter& painter)
{
    QGraphicsScene scene;
    auto* chart = new ClaimsChart;
    scene.addItem(chart);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(QStringLiteral("%1<br><span style=\"font-weight:normal\">%2</span>")
                        .arg(chartImageTitle().toHtmlEscaped(),
                             chartRangeText(image.startDate, image.endDate).toHtmlEscaped()));
    chart->setMargins(QMargins(16, 12, 16, 12));
    chart->setFontScale(std::max(1.0, std::min(image.size.width() / kScreenWidth, image.size.height() / kScreenHeight)));
    chart->plot(image.data, noClaimsText(image.startDate, image.endDate));
    const QRectF area(QPointF(0, 0), QSizeF(image.size));
    chart->setGeometry(area);
    if (QGraphicsLayout* layout = chart->layout())
        layout->activate();
    scene.setSceneRect(area);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    scene.render(&painter, area, area);
}

} // namespace

QString chartImageTitle()
{
    return QStringLiteral("Claims received by month and status");
}

void saveChartImage(const ChartImage& image, const QString& path)
{
    if (image.size.width() < kSmallestSide || image.size.height() < kSmallestSide
        || image.size.width() > kLargestSide || image.size.height() > kLargestSide) {
        throw ChartImageError(failure(path, QStringLiteral("a side of %1 to %2 pixels is needed.")
                                                .arg(kSmallestSide)
                                                .arg(kLargestSide)));
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ChartImageError(failure(path, file.errorString() + QLatin1Char('.')));

    bool drawn = true;
    if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(image.size);
        svg.setViewBox(QRect(QPoint(0, 0), image.size));
        svg.setTitle(chartImageTitle());
        svg.setDescription(chartRangeText(image.startDate, image.endDate));
        QPainter painter;
        drawn = painter.begin(&svg);
        if (drawn) {
            render(image, painter);
            drawn = painter.end();
        }
    } else if (suffix == QLatin1String("pdf")) {
        QPdfWriter pdf(&file);
        pdf.setTitle(chartImageTitle());
        pdf.setResolution(96);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(image.size) * 72.0 / 96.0, QPageSize::Point, QString(), QPageSize::ExactMatch));
        QPainter painter;
        drawn = painter.begin(&pdf);
        if (drawn) {
            // The page is the image's size at 96 dpi; draw in its pixels.
            painter.setWindow(QRect(QPoint(0, 0), image.size));
            painter.setViewport(QRect(QPoint(0, 0), QSize(pdf.width(), pdf.height())));
            render(image, painter);
            drawn = painter.end();
        }
    } else {
        QImage picture(image.size, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        render(image, painter);
        painter.end();
        drawn = picture.save(&file, "PNG");
    }
    if (!drawn || !file.commit())
        throw ChartImageError(failure(path, (file.error() != QFileDevice::NoError ? file.errorString()
                                                                                  : QStringLiteral("the image could not be drawn"))
                                                + QLatin1Char('.')));
}

std::optional<QSize> askChartImageSize(QWidget* parent, QSize size)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgImageSize"));
    dialog.setWindowTitle(QStringLiteral("Save image"));
    auto* width = new QSpinBox(&dialog);
    width->setObjectName(QStringLiteral("txtImageWidth"));
    auto* height = new QSpinBox(&dialog);
    height->setObjectName(QStringLiteral("txtImageHeight"));
    for (QSpinBox* box : {width, height}) {
        box->setRange(kSmallestSide, kLargestSide);
        box->setSuffix(QStringLiteral(" px"));
    }
    width->setValue(size.width());
    height->setValue(size.height());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("&Width"), width);
    form->addRow(QStringLiteral("&Height"), height);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return QSize(width->value(), height->value());
}

} // namespace vantik
