#pragma once

#include <QFont>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace vantik {

/// A caption and the room its control gives it, in pixels.
struct CaptionRoom {
    QString caption;
    QSize room;
};

/// True when the caption fits the room with this font: on one line, or wrapped
/// onto as many lines as the room's height holds.
bool captionFits(const QFont& font, const CaptionRoom& caption);

/// The window font: the first of the preferred families the machine has, at the
/// design size. When none is there, the first fallback family the machine has, at
/// the largest size (design size at most, in quarter points) at which every caption
/// fits its room.
QFont chooseWindowFont(const QStringList& preferredFamilies, double designPointSize,
                       const QStringList& fallbackFamilies, const QList<CaptionRoom>& captions);

} // namespace vantik
