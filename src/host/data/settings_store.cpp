#include "host/data/settings_store.h"

#include <QDir>
#include <QSettings>

namespace vantik {

namespace {
const QString kOrganization = QStringLiteral("vantik");
}

SettingsStore::SettingsStore() = default;

SettingsStore::SettingsStore(const QString& folder)
    : m_folder(folder)
{
}

SettingsStore::~SettingsStore() = default;

std::unique_ptr<QSettings> SettingsStore::open(const QString& application) const
{
    if (m_folder.isEmpty())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kOrganization, application);
    return std::make_unique<QSettings>(QDir(m_folder).filePath(application + QStringLiteral(".ini")),
                                       QSettings::IniFormat);
}

QString SettingsStore::read(const QString& application, const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const auto settings = open(application);
    settings->beginGroup(section);
    return settings->value(key, defaultValue).toString();
}

bool SettingsStore::write(const QString& application, const QString& section, const QString& key,
                          const QString& value)
{
    const auto settings = open(application);
    settings->beginGroup(section);
    settings->setValue(key, value);
    settings->endGroup();
    settings->sync();
    if (settings->status() == QSettings::NoError)
        return true;
    if (m_failure.isEmpty()) {
        m_failure = QStringLiteral("The settings cannot be saved in %1 (%2); what you change is not remembered "
                                   "for the next start.")
                        .arg(QDir::toNativeSeparators(settings->fileName()),
                             settings->status() == QSettings::AccessError ? QStringLiteral("the file or its folder "
                                                                                           "is not writable")
                                                                          : QStringLiteral("the file is damaged"));
    }
    return false;
}

QString SettingsStore::takeWriteFailure()
{
    if (m_failure.isEmpty() || m_failureTaken)
        return QString();
    m_failureTaken = true;
    return m_failure;
}

} // namespace vantik
