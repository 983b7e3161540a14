// What the fact grid says under itself: how many facts are known, what to practise next, and
// how the known facts grew day by day.
#pragma once

#include "facts/FactAttempt.h"
#include "facts/FactBook.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct KnownCount
{
    int known = 0;
    int total = 0; ///< the grid's facts of the operation: 91, or 35 for division
};

/// How many of an operation's grid facts are known.
KnownCount knownCount(const FactBook& book, FactOperation operation);

/// "You know 61 of 91".
std::string knownSentence(KnownCount count);

/// How many facts "Practise next" names.
inline constexpr std::size_t PractiseNextShown = 6;

/// An operation's grid facts that need work, the ones to practise first: practise before getting
/// there; within each the most missed, then the slowest; at most `limit`.
std::vector<FactKey> practiseNext(const FactBook& book, FactOperation operation,
                                  std::size_t limit = PractiseNextShown);

/// "Practise next: 7 x 8, 6 x 7, 9 x 6", or "Nothing needs practice right now" for none.
std::string practiseNextSentence(const std::vector<FactKey>& facts);

struct DayKnown
{
    std::int64_t day = 0; ///< the local calendar day: days since 1970-01-01
    int known = 0; ///< grid facts of the operation known at the end of that day
};

/// The local calendar day of a UTC time, local time being UTC plus `utcOffsetMinutes`.
std::int64_t localDay(std::int64_t whenUtcMs, std::int32_t utcOffsetMinutes);

/// Known facts at the end of each local day on which the operation was answered, from all
/// answers oldest first (answers of other operations are passed over).
std::vector<DayKnown> knownByDay(std::span<const FactAttempt> oldestFirst, FactOperation operation,
                                 std::int32_t utcOffsetMinutes);
