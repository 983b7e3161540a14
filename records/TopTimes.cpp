// The five best times of each problem type: loading, ranking a new time, saving.
#include "records/TopTimes.h"

#include "engine/ProblemTypes.h"
#include "records/SettingsStore.h"

namespace {

constexpr int Places = 5;

QString fromView(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString topTimeKey(std::int16_t problemType, int place, bool nameKey)
{
    const ProblemTypeInfo* info = problemTypeInfo(problemType);
    if (info == nullptr) {
        return {};
    }
    return fromView(nameKey ? info->nameKeyStem : info->timeKeyStem) + QString::number(place);
}

TopTimeTables loadTopTimes(const SettingsStore& store)
{
    TopTimeTables all;
    for (int place = 0; place < Places; ++place) {
        for (const ProblemTypeInfo& type : ProblemTypes) {
            all.tables[type.number - 1].times[place]
                = store.read(topTimeKey(type.number, place, false), DefaultTopTime);
        }
        for (const ProblemTypeInfo& type : ProblemTypes) {
            all.tables[type.number - 1].names[place]
                = store.read(topTimeKey(type.number, place, true), DefaultTopName);
        }
    }
    return all;
}

void saveTopTimes(SettingsStore& store, const TopTimeTables& all)
{
    for (int place = 0; place < Places; ++place) {
        for (const ProblemTypeInfo& type : ProblemTypes) {
            store.write(topTimeKey(type.number, place, false),
                        all.tables[type.number - 1].times[place]);
        }
        for (const ProblemTypeInfo& type : ProblemTypes) {
            store.write(topTimeKey(type.number, place, true),
                        all.tables[type.number - 1].names[place]);
        }
    }
}

// Times are ranked by comparing their texts code unit by code unit, not by parsing them: every
// time that reaches a table is at most "3:00" with a one-digit minute, so text order is time
// order, and whatever a hand-edited store holds is still ranked without failing. The scan runs
// from the bottom over all five places; a tie never displaces an entry, so an equal time goes
// below every equal entry.
std::int16_t rankTopTime(TopTimeTable& table, const QString& clockText)
{
    std::int16_t slot = NoTopTimeSlot;
    for (int place = Places - 1; place >= 0; --place) {
        if (QString::compare(clockText, table.times[place], Qt::CaseSensitive) < 0) {
            slot = static_cast<std::int16_t>(place);
            table.times[place + 1] = table.times[place];
            table.names[place + 1] = table.names[place];
        }
    }
    if (slot != NoTopTimeSlot) {
        table.times[slot] = clockText;
    }
    return slot;
}

// The name is asked before the store is locked: a child may take a minute over it, and another
// copy of the game must not wait that long to save its own time. So the time is ranked twice:
// once to know whether to ask, and again under the lock against what is on disk by then.
TopTimeRecording recordTopTime(SettingsStore& store, std::int16_t problemType,
                               const QString& clockText, const std::function<QString()>& askName)
{
    const bool knownType = problemTypeInfo(problemType) != nullptr;
    const auto index = static_cast<std::size_t>(problemType - 1);
    TopTimeRecording recording;
    QString name;
    if (knownType) {
        store.refresh();
        TopTimeTable preview = loadTopTimes(store).tables[index];
        recording.slot = rankTopTime(preview, clockText);
        if (recording.slot != NoTopTimeSlot) {
            name = askName();
        }
    }

    recording.saved = store.update([&](SettingsStore& current) {
        TopTimeTables tables = loadTopTimes(current);
        if (knownType) {
            TopTimeTable& table = tables.tables[index];
            recording.slot = rankTopTime(table, clockText);
            if (recording.slot != NoTopTimeSlot) {
                table.names[static_cast<std::size_t>(recording.slot)] = name;
            }
        }
        saveTopTimes(current, tables);
    });
    return recording;
}
