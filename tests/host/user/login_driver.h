#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace vantik {
class LoginDialog;
}

namespace vantik::test {

/// The child widget of the given object name; fails the test when it is missing.
QWidget* control(QWidget& parent, const char* objectName);

/// Replaces the text of a line edit (or editable combo box) as typed on the keyboard.
void typeInto(QWidget& parent, const char* objectName, const QString& text);
void click(QWidget& parent, const char* objectName);

/// Fills user name and password and clicks OK.
void logIn(QWidget& dialog, const QString& userName, const QString& password);

/// Calls drive with the log-in dialog once a modal exec() has shown it. A dialog
/// still open afterwards fails the test and is cancelled, so exec() never hangs.
void whenLoginDialogShows(std::function<void(LoginDialog&)> drive);

} // namespace vantik::test
