#pragma once

#include "reports/claims_chart_data.h"

#include <QSize>
#include <QString>

#include <optional>
#include <stdexcept>

class QWidget;

namespace vantik {

/// Why a chart image was not written; what() is the message for the clerk.
class ChartImageError : public std::runtime_error {
public:
    explicit ChartImageError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
};

/// What a saved chart shows and how large it is.
struct ChartImage {
    ClaimsChartData data;
    QString startDate; ///< the date boxes the data was charted for
    QString endDate;
    QSize size{1600, 900}; ///< pixels; a PDF page is this size at 96 dpi
};

/// The title every saved chart carries.
QString chartImageTitle();

/// Draws the chart afresh at the image's size, whatever the window's size, under
/// the title and the date range, and writes it as PNG, SVG or PDF as the file's
/// extension says (PNG for any other). The file appears only when complete.
/// Throws ChartImageError.
void saveChartImage(const ChartImage& image, const QString& path);

/// Asks for the image's width and height in pixels, starting from size.
/// Nothing when the clerk cancels.
std::optional<QSize> askChartImageSize(QWidget* parent, QSize size);

} // namespace vantik
