#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class QWidget;

namespace vantik {

class CurrentUser;
class MessageBox;
class SettingsStore;

/// What the claim-form library works with: the logged-in user's connection, the
/// clerk's name for what it records, the time, the settings store, the message
/// boxes and the folder chooser (none given: the real ones).
struct ClaimFormEnvironment {
    CurrentUser& user;
    std::function<QString()> clerkName;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    SettingsStore* settings = nullptr;
    MessageBox* messages = nullptr;
    /// Asks for a folder to write into; the empty text when the clerk cancels.
    /// None given: the desktop's folder dialog.
    std::function<QString(QWidget* parent, const QString& caption)> chooseFolder;
};

} // namespace vantik
