// A time sent twice (a page reloaded, a double click) counts once.
#include "server/core/Repeats.h"

std::optional<qint64> repeatedEntry(const Submission& submission, qint64 receivedUtcMs,
                                    std::span<const BoardEntry> recent)
{
    for (const BoardEntry& entry : recent) {
        const qint64 age = receivedUtcMs - entry.receivedUtcMs;
        if (entry.name == submission.name && entry.subject == submission.subject
            && entry.seconds == submission.seconds && age > -RepeatWindowMs
            && age < RepeatWindowMs) {
            return entry.id;
        }
    }
    return std::nullopt;
}
