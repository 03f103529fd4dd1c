#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace vantik {

class CurrentUser;
class SettingsStore;

/// What the claim-form library works with: the logged-in user's connection, the
/// clerk's name for what it records, the time, and the settings store.
struct ClaimFormEnvironment {
    CurrentUser& user;
    std::function<QString()> clerkName;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    SettingsStore* settings = nullptr;
};

} // namespace vantik
