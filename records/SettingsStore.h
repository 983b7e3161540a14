// The per-user settings store the top-five tables live in: read with a default, write, save.
#pragma once

#include <QSettings>
#include <QString>

#include <memory>

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    /// The text under key, or defaultValue when the key is missing.
    virtual QString read(const QString& key, const QString& defaultValue) const = 0;
    virtual void write(const QString& key, const QString& value) = 0;
    /// Puts what was written on disk; false when it could not be saved.
    virtual bool save() = 0;
};

/// The store as a readable INI file: section [Sumdash] of the application "Pellmoor".
class IniSettingsStore final : public SettingsStore
{
public:
    /// The user's own store (~/.config/Pellmoor/Pellmoor.ini on Linux).
    IniSettingsStore();
    /// A store in the given file; tests point it at a temporary folder.
    explicit IniSettingsStore(const QString& filePath);

    QString read(const QString& key, const QString& defaultValue) const override;
    void write(const QString& key, const QString& value) override;
    bool save() override;

    QString filePath() const { return m_settings->fileName(); }

private:
    std::unique_ptr<QSettings> m_settings;
};
