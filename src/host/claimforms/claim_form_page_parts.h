#pragma once

// What every page of the entry window is made of: named controls, captions with
// their buddies, and the read-only line of what the tables hold now.

#include <QLabel>
#include <QString>

namespace vantik::page {

template <typename Widget>
Widget* named(Widget* widget, const char* objectName, const QString& accessibleName = QString())
{
    widget->setObjectName(QString::fromLatin1(objectName));
    if (!accessibleName.isEmpty())
        widget->setAccessibleName(accessibleName);
    return widget;
}

inline QLabel* caption(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// What a page shows of what the tables hold now: read-only, wrapped.
inline QLabel* nowLabel(const char* objectName)
{
    auto* label = named(new QLabel, objectName);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace vantik::page
