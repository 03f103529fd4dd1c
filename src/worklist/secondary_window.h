#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <typeinfo>

namespace vantik {

/// The one window of a kind that belongs to a main window without being its
/// child (it has its own place on the task bar); it closes with the main window
/// and goes when the main window goes. Kept as a child object of the main window.
template <typename Window>
class SecondaryWindow : public QObject {
public:
    /// The slot of this kind of window on main (made on first use).
    static QPointer<Window>& of(QObject& main)
    {
        const QString name = QString::fromLatin1(typeid(Window).name());
        for (QObject* child : main.children()) {
            if (child->objectName() == name)
                return static_cast<SecondaryWindow*>(child)->window;
        }
        return (new SecondaryWindow(main, name))->window;
    }

    /// The window of this kind on main, made by make() when there is none, shown
    /// (restored when minimized) and brought to the front.
    template <typename Make>
    static Window& show(QObject& main, Make make)
    {
        QPointer<Window>& window = of(main);
        if (!window)
            window = make();
        if (window->isMinimized())
            window->showNormal();
        else
            window->show();
        window->raise();
        window->activateWindow();
        return *window;
    }

    ~SecondaryWindow() override { delete window.data(); }

private:
    SecondaryWindow(QObject& main, const QString& name)
        : QObject(&main)
    {
        setObjectName(name);
    }

    QPointer<Window> window;
};

} // namespace vantik
