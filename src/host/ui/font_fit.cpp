#include "host/ui/font_fit.h"

#include "host/ui/wrapping_buttons.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace vantik {

bool captionFits(const QFont& font, const CaptionRoom& caption)
{
    const QFontMetrics metrics(font);
    const QRect bounds = metrics.boundingRect(QRect(QPoint(0, 0), caption.room), Qt::AlignLeft | kCaptionWrapFlags,
                                              caption.caption);
    return bounds.width() <= caption.room.width() && bounds.height() <= caption.room.height();
}

QFont chooseWindowFont(const QStringList& preferredFamilies, double designPointSize,
                       const QStringList& fallbackFamilies, const QList<CaptionRoom>& captions)
{
    const QStringList families = QFontDatabase::families();
    for (const QString& family : preferredFamilies) {
        if (families.contains(family, Qt::CaseInsensitive)) {
            QFont font(family);
            font.setPointSizeF(designPointSize);
            return font;
        }
    }
    QFont font;
    for (const QString& family : fallbackFamilies) {
        if (families.contains(family, Qt::CaseInsensitive)) {
            font = QFont(family);
            break;
        }
    }
    // Another face has other widths: take the largest size at which nothing is cut.
    constexpr double kSmallest = 6.0;
    for (double size = designPointSize; size >= kSmallest; size -= 0.25) {
        font.setPointSizeF(size);
        bool all = true;
        for (const CaptionRoom& caption : captions) {
            if (!captionFits(font, caption)) {
                all = false;
                break;
            }
        }
        if (all)
            return font;
    }
    font.setPointSizeF(kSmallest);
    return font;
}

} // namespace vantik
