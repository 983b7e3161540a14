// What the fact history file reads and writes, statement by statement, on an open database.
#pragma once

#include "facts/FactAttempt.h"
#include "facts/FactBook.h"
#include "facts/FactHistoryOutcome.h"
#include "facts/FactSummary.h"

#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

/// The local time's offset from UTC, in minutes, at a moment given in milliseconds since 1970.
using UtcOffsetAt = std::function<std::int32_t(std::int64_t whenUtcMs)>;

/// Adds the answers, the runs they belong to, their facts' totals and the known counts of the
/// day for the operations answered. Within the caller's transaction.
FactHistoryFailure insertAnswers(QSqlDatabase& database, const QString& folder,
                                 const std::vector<FactAttempt>& attempts,
                                 const UtcOffsetAt& utcOffsetAt);

/// Every fact's record as the fact book keeps it: first answers counted, the latest recentKept
/// first answers and the latest judged ones. Only the facts of operations first to last.
FactHistoryFailure readRecords(QSqlDatabase& database, const QString& folder,
                               std::size_t recentKept, FactOperation first, FactOperation last,
                               std::map<FactKey, FactRecord>& records);

/// The known counts of every day kept, by operation, days rising.
FactHistoryFailure readKnownDays(QSqlDatabase& database, const QString& folder,
                                 std::map<FactOperation, std::vector<DayKnown>>& days);

/// Empties every table. Within the caller's transaction.
FactHistoryFailure deleteAll(QSqlDatabase& database, const QString& folder);
