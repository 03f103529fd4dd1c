#include "host/user/log_window_placement.h"

#include <algorithm>
#include <array>

namespace vantik {

namespace {

constexpr int kGap = 8;

// The rectangle moved (not resized) as little as needed to lie inside the area.
QRect movedInside(QRect rect, const QRect& area)
{
    if (rect.right() > area.right())
        rect.moveRight(area.right());
    if (rect.bottom() > area.bottom())
        rect.moveBottom(area.bottom());
    if (rect.left() < area.left())
        rect.moveLeft(area.left());
    if (rect.top() < area.top())
        rect.moveTop(area.top());
    return rect;
}

} // namespace

QRect placeClearOf(const QRect& frame, const QRect& button, const QRect& available)
{
    if (!frame.intersects(button) || frame.isEmpty())
        return frame;

    // Preferred first: the right edge of the screen (where a log window usually sits),
    // then right of, below, left of and above the button.
    QRect atRightEdge = frame;
    atRightEdge.moveRight(available.right());
    QRect right = frame;
    right.moveLeft(button.right() + 1 + kGap);
    QRect below = frame;
    below.moveTop(button.bottom() + 1 + kGap);
    QRect left = frame;
    left.moveRight(button.left() - 1 - kGap);
    QRect above = frame;
    above.moveBottom(button.top() - 1 - kGap);
    for (const QRect& candidate : std::array{atRightEdge, right, below, left, above}) {
        const QRect placed = available.isValid() ? movedInside(candidate, available) : candidate;
        if (!placed.intersects(button))
            return placed;
    }

    // Too large for any side: take the larger free strip right of or below the button.
    const QRect area = available.isValid() ? available : frame.united(button);
    const QRect rightStrip(QPoint(button.right() + 1 + kGap, area.top()), area.bottomRight());
    const QRect belowStrip(QPoint(area.left(), button.bottom() + 1 + kGap), area.bottomRight());
    const auto areaOf = [](const QRect& r) { return r.isValid() ? qint64(r.width()) * r.height() : 0; };
    const QRect strip = areaOf(rightStrip) >= areaOf(belowStrip) ? rightStrip : belowStrip;
    if (!strip.isValid())
        return frame;
    return QRect(strip.topLeft(),
                 QSize(std::min(frame.width(), strip.width()), std::min(frame.height(), strip.height())));
}

} // namespace vantik
