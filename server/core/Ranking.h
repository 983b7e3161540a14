// The best times of a board for a day, a week or all time.
#pragma once

#include "server/core/BoardEntry.h"

#include <QTimeZone>
#include <span>
#include <utility>
#include <vector>

enum class BoardPeriod { Day, Week, AllTime };

/// The period that holds nowUtcMs, as [first, end) in milliseconds since 1970 UTC, in the
/// calendar of the board's zone: a day from midnight to midnight, a week from Monday's midnight
/// to the next (ISO 8601); all time from the first millisecond to the last. A zone with summer
/// time has 23- and 25-hour days; a fixed offset (QTimeZone(seconds ahead of UTC)) has none.
std::pair<qint64, qint64> periodBounds(BoardPeriod period, qint64 nowUtcMs, const QTimeZone& zone);

/// The board of one subject for the period that holds nowUtcMs: shown entries only, fastest
/// first; of equal times the one received first, then the lower id. At most limit entries.
std::vector<BoardEntry> bestTimes(std::span<const BoardEntry> entries, Subject subject,
                                  BoardPeriod period, qint64 nowUtcMs, const QTimeZone& zone,
                                  std::size_t limit);
