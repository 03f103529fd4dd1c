#pragma once

// How the entry window writes times and empty values, in its pages, messages and
// user-log lines alike.

#include <QDateTime>
#include <QString>

namespace vantik {

inline QString shownTime(const QDateTime& when)
{
    return when.toString(QStringLiteral("MM/dd/yyyy h:mm AP"));
}

inline QString orDash(const QString& text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("–") : text;
}

} // namespace vantik
