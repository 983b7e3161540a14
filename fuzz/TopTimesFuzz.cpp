// Fuzz target: a table of arbitrary stored texts and an arbitrary new time; the ranking keeps
// its promises whatever the store holds.
#include "records/TopTimes.h"

#include <QList>
#include <array>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString all
        = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QStringView> parts = QStringView(all).split(u'\n');
    TopTimeTable table;
    for (int place = 0; place < 5; ++place) {
        table.times[static_cast<std::size_t>(place)] = parts.value(place + 1).toString();
        table.names[static_cast<std::size_t>(place)] = QString::number(place);
    }
    const TopTimeTable before = table;
    const QString newTime = parts.value(0).toString();

    const std::int16_t slot = rankTopTime(table, newTime);

    // The place is the best one whose stored text the new time's text beats, or none.
    std::int16_t best = NoTopTimeSlot;
    for (int place = 4; place >= 0; --place) {
        if (QString::compare(newTime, before.times[static_cast<std::size_t>(place)]) < 0) {
            best = static_cast<std::int16_t>(place);
        }
    }
    if (slot != best) {
        std::abort();
    }
    // Each beaten entry moved one place down; the new time took its place; nothing else changed,
    // even when a hand-edited store holds its times out of order.
    std::array<bool, 6> written {};
    for (std::size_t place = 0; place < 5; ++place) {
        if (QString::compare(newTime, before.times[place]) < 0) {
            written[place + 1] = true;
            if (table.times[place + 1] != before.times[place]
                || table.names[place + 1] != before.names[place]) {
                std::abort();
            }
        }
    }
    if (slot != NoTopTimeSlot) {
        written[static_cast<std::size_t>(slot)] = true;
        if (table.times[static_cast<std::size_t>(slot)] != newTime) {
            std::abort();
        }
    }
    for (std::size_t place = 0; place < 5; ++place) {
        if (!written[place]
            && (table.times[place] != before.times[place]
                || table.names[place] != before.names[place])) {
            std::abort();
        }
    }
    return 0;
}
