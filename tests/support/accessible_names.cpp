#include "support/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

namespace vantik::test {

namespace {

bool needsName(QWidget* widget)
{
    if (qobject_cast<QHeaderView*>(widget) || qobject_cast<QScrollBar*>(widget))
        return false;
    // Qt's own parts: the corner of a table, the menu bar's overflow arrow, a combo box's popup list.
    const QByteArray kind = widget->metaObject()->className();
    if (kind == "QTableCornerButton" || kind == "QComboBoxListView"
        || widget->objectName() == QLatin1String("qt_menubar_ext_button"))
        return false;
    // The edit inside a spin box or combo box speaks for its owner.
    if (qobject_cast<QLineEdit*>(widget)
        && (qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) || qobject_cast<QComboBox*>(widget->parentWidget())))
        return false;
    // Buttons of a tab bar or of a scroll area (scrolling arrows) belong to Qt.
    if (qobject_cast<QAbstractButton*>(widget) && qobject_cast<QTabBar*>(widget->parentWidget()))
        return false;
    return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget)
        || qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QComboBox*>(widget)
        || qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QTextEdit*>(widget)
        || qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QTabWidget*>(widget)
        || qobject_cast<QStatusBar*>(widget);
}

QString describe(QWidget* widget)
{
    const auto nameOf = [](QObject* object) {
        return object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                              : object->objectName();
    };
    return widget->parentWidget() ? nameOf(widget->parentWidget()) + QLatin1Char('/') + nameOf(widget)
                                  : nameOf(widget);
}

} // namespace

QStringList unnamedControls(QWidget& window)
{
    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!needsName(widget))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << describe(widget);
    }
    return unnamed;
}

} // namespace vantik::test
