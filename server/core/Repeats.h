// A time sent twice (a page reloaded, a double click) counts once.
#pragma once

#include "server/core/BoardEntry.h"
#include "server/core/Submission.h"

#include <optional>
#include <span>

inline constexpr qint64 RepeatWindowMs = 10 * 60 * 1000;

/// The entry that a submission received at receivedUtcMs repeats: one with the same name
/// (anonymous ones share the empty name), subject and time received less than ten minutes
/// before (or after, should the clock have been set back), whatever its state, so a hidden
/// entry does not come back by being sent again.
/// Nothing when the submission is new. recent may hold any entries; older ones are passed over.
std::optional<qint64> repeatedEntry(const Submission& submission, qint64 receivedUtcMs,
                                    std::span<const BoardEntry> recent);
