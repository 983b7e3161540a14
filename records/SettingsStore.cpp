// The per-user settings store the top-five tables live in: read with a default, write, save.
#include "records/SettingsStore.h"

namespace {
const QString Section = QStringLiteral("Sumdash");
}

IniSettingsStore::IniSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Pellmoor"), QStringLiteral("Pellmoor")))
{
}

IniSettingsStore::IniSettingsStore(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

QString IniSettingsStore::read(const QString& key, const QString& defaultValue) const
{
    return m_settings->value(Section + QLatin1Char('/') + key, defaultValue).toString();
}

void IniSettingsStore::write(const QString& key, const QString& value)
{
    m_settings->setValue(Section + QLatin1Char('/') + key, value);
}

bool IniSettingsStore::save()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
