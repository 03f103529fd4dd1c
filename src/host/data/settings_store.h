#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace vantik {

/// Per-user text values by application, section and key. Reads fall back to a
/// default; writes are stored at once.
class SettingsStore {
public:
    /// The user's own store (under the platform's per-user configuration folder).
    SettingsStore();
    /// A store kept in the given folder, for tests and for a portable install.
    explicit SettingsStore(const QString& folder);
    ~SettingsStore();

    QString read(const QString& application, const QString& section, const QString& key,
                 const QString& defaultValue = QString()) const;
    void write(const QString& application, const QString& section, const QString& key, const QString& value);

private:
    std::unique_ptr<QSettings> open(const QString& application) const;

    QString m_folder; // empty: the user's configuration folder
};

} // namespace vantik
