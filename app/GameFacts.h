// The game's fact history put together: the keeping switch in the settings store, the history
// file in the user's data folder (or a folder of one's choice), the real clocks.
#pragma once

#include "facts/FactHistory.h"

class SettingsStore;

/// Keeping the fact history on disk is off until a parent turns it on; the switch is a key of
/// the settings store, so it stays with the game's other settings.
class SettingsKeepSwitch final : public KeepSwitch
{
public:
    static inline const QString Key = QStringLiteral("KeepFactHistory");

    explicit SettingsKeepSwitch(SettingsStore& store)
        : m_store(store)
    {
    }
    bool isOn() const override;
    bool set(bool on) override;

private:
    SettingsStore& m_store;
};

struct GameFacts
{
    /// The history file in folder, or in the user's data folder when folder is empty.
    GameFacts(SettingsStore& settings, const QString& folder);

    SettingsKeepSwitch keepSwitch;
    FactHistory history;
};
