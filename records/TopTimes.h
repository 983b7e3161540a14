// The five best times of each problem type: loading, ranking a new time, saving.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class SettingsStore;

inline const QString DefaultTopTime = QStringLiteral("3:00");
inline const QString DefaultTopName = QStringLiteral("Empty");

/// No place: the new time did not make the table.
inline constexpr std::int16_t NoTopTimeSlot = 1000;

/// One problem type's table. Places 0 (best) to 4 are stored; index 5 catches the entry pushed
/// out of place 4 by a new time and is dropped.
struct TopTimeTable
{
    std::array<QString, 6> times;
    std::array<QString, 6> names;
};

/// The five tables, index = problem type - 1.
struct TopTimeTables
{
    std::array<TopTimeTable, 5> tables;
};

/// Every table from the store; a missing key reads "3:00" or "Empty".
TopTimeTables loadTopTimes(const SettingsStore& store);

/// Writes all 50 keys back, place by place, whether or not anything changed.
void saveTopTimes(SettingsStore& store, const TopTimeTables& tables);

/// Ranks a new time into a table and returns its place, or NoTopTimeSlot. The entries from that
/// place down move one place down; the new time is written into its place, the name is left
/// for the caller.
std::int16_t rankTopTime(TopTimeTable& table, const QString& clockText);

/// The store key of a place: the stem and the place as one digit ("TopAddTime0").
QString topTimeKey(std::int16_t problemType, int place, bool nameKey);

/// What became of a fast finisher's time: its place (or NoTopTimeSlot), and whether the tables
/// were saved. A time that could not be saved keeps the place it earned.
struct TopTimeRecording
{
    std::int16_t slot = NoTopTimeSlot;
    bool saved = false;
};

/// Ranks a time into its type's table as the store holds it now, asks the name (askName) when
/// it made the table, and saves every table. Saving reads, ranks and writes again under the
/// store's lock, so a time another copy of the game saved meanwhile keeps its place.
TopTimeRecording recordTopTime(SettingsStore& store, std::int16_t problemType,
                               const QString& clockText, const std::function<QString()>& askName);
