// The game's fact history put together.
#include "app/GameFacts.h"

#include "facts/FactHistoryFile.h"
#include "records/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QTimeZone>

namespace {

FactHistory::Clocks realClocks()
{
    return FactHistory::Clocks {
        [] { return QDateTime::currentMSecsSinceEpoch(); },
        [](std::int64_t whenUtcMs) {
            return static_cast<std::int32_t>(QTimeZone::systemTimeZone().offsetFromUtc(
                                                 QDateTime::fromMSecsSinceEpoch(whenUtcMs, Qt::UTC))
                                             / 60);
        },
    };
}

} // namespace

bool SettingsKeepSwitch::isOn() const
{
    return m_store.read(Key, QStringLiteral("0")) == QLatin1String("1");
}

bool SettingsKeepSwitch::set(bool on)
{
    return m_store.update([on](SettingsStore& store) {
        store.write(Key, on ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

GameFacts::GameFacts(SettingsStore& settings, const QString& folder)
    : keepSwitch(settings)
    , history(folder.isEmpty() ? FactHistoryFile::defaultPath()
                               : QDir(folder).filePath(FactHistoryFileName),
              keepSwitch, realClocks())
{
}
