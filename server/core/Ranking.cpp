// The best times of a board for a day, a week or all time.
#include "server/core/Ranking.h"

#include <QDateTime>
#include <algorithm>
#include <limits>
#include <tuple>

std::pair<qint64, qint64> periodBounds(BoardPeriod period, qint64 nowUtcMs, const QTimeZone& zone)
{
    if (period == BoardPeriod::AllTime) {
        return { std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max() };
    }
    QDate first = QDateTime::fromMSecsSinceEpoch(nowUtcMs, zone).date();
    int days = 1;
    if (period == BoardPeriod::Week) {
        first = first.addDays(1 - first.dayOfWeek());
        days = 7;
    }
    return { first.startOfDay(zone).toMSecsSinceEpoch(),
             first.addDays(days).startOfDay(zone).toMSecsSinceEpoch() };
}

std::vector<BoardEntry> bestTimes(std::span<const BoardEntry> entries, Subject subject,
                                  BoardPeriod period, qint64 nowUtcMs, const QTimeZone& zone,
                                  std::size_t limit)
{
    const auto [first, end] = periodBounds(period, nowUtcMs, zone);
    std::vector<BoardEntry> board;
    for (const BoardEntry& entry : entries) {
        if (entry.state == EntryState::Shown && entry.subject == subject
            && entry.receivedUtcMs >= first && entry.receivedUtcMs < end) {
            board.push_back(entry);
        }
    }
    const auto faster = [](const BoardEntry& a, const BoardEntry& b) {
        return std::tie(a.seconds, a.receivedUtcMs, a.id)
            < std::tie(b.seconds, b.receivedUtcMs, b.id);
    };
    const std::size_t kept = std::min(limit, board.size());
    std::partial_sort(board.begin(), board.begin() + static_cast<std::ptrdiff_t>(kept), board.end(),
                      faster);
    board.resize(kept);
    return board;
}
