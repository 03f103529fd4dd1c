#include "host/ui/wrapping_buttons.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace vantik {

void WrapPushButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(area, Qt::AlignCenter | kCaptionWrapFlags, palette(), isEnabled(), caption,
                         QPalette::ButtonText);
}

void WrapCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    QStyleOptionButton box = option;
    box.rect = QRect(indicator.left(), (height() - indicator.height()) / 2, indicator.width(), indicator.height());
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);
    const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    const QRect text = rect().adjusted(box.rect.right() + 1 + spacing, 0, 0, 0);
    painter.drawItemText(text, Qt::AlignLeft | Qt::AlignVCenter | kCaptionWrapFlags, palette(), isEnabled(), caption,
                         QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.fontMetrics()
                         .boundingRect(text, Qt::AlignLeft | Qt::AlignVCenter | kCaptionWrapFlags, caption)
                         .adjusted(-1, 0, 1, 0)
                         .intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool WrapCheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

} // namespace vantik
