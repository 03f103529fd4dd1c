#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace vantik {

class CurrentUser;
class MessageBox;
class SettingsStore;

/// What the claim-form library works with: the logged-in user's connection, the
/// clerk's name for what it records, the time, the settings store, and the message
/// boxes (none given: the real ones).
struct ClaimFormEnvironment {
    CurrentUser& user;
    std::function<QString()> clerkName;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    SettingsStore* settings = nullptr;
    MessageBox* messages = nullptr;
};

} // namespace vantik
