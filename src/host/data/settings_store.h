#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace vantik {

/// Per-user text values by application, section and key. Reads fall back to a
/// default; writes are stored at once. A store that cannot be written keeps the
/// first failure until someone takes it to tell the user (once per run).
class SettingsStore {
public:
    /// The user's own store (under the platform's per-user configuration folder).
    SettingsStore();
    /// A store kept in the given folder, for tests and for a portable install.
    explicit SettingsStore(const QString& folder);
    ~SettingsStore();

    QString read(const QString& application, const QString& section, const QString& key,
                 const QString& defaultValue = QString()) const;
    /// False when the value could not be stored (folder not writable, disk full).
    bool write(const QString& application, const QString& section, const QString& key, const QString& value);

    /// The first failed write's description, the first time it is asked for; an
    /// empty text otherwise.
    QString takeWriteFailure();

private:
    std::unique_ptr<QSettings> open(const QString& application) const;

    QString m_folder; // empty: the user's configuration folder
    QString m_failure;
    bool m_failureTaken = false;
};

} // namespace vantik
