// The per-user settings store the top-five tables live in: read with a default, write, save.
#pragma once

#include <QSettings>
#include <QString>
#include <functional>
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
    /// Reads the store again: another copy of the game may have saved since it was last read.
    virtual void refresh() = 0;
    /// Reads the store afresh, lets change read and write it, and saves, while every other copy
    /// of the game waits to do the same; false when it could not be saved. When another copy
    /// holds the store for too long, change is not run at all.
    virtual bool update(const std::function<void(SettingsStore&)>& change) = 0;
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
    void refresh() override;
    bool update(const std::function<void(SettingsStore&)>& change) override;

    /// The text under key in the user's own store or, where it lacks the key, in the system-wide
    /// settings every account shares (/etc/xdg/Pellmoor/Pellmoor.ini, or the same file under the
    /// folders XDG_CONFIG_DIRS names), so a school sets it once for all; defaultValue when
    /// neither has it. A store in a file of one's choice has no system-wide settings behind it.
    QString readWithSystemFallback(const QString& key, const QString& defaultValue) const;

    const QString& filePath() const { return m_path; }

private:
    QString m_path;
    bool m_usersOwn = false;
    std::unique_ptr<QSettings> m_settings;
};
