// How often one client or one name may submit: a token bucket per key, in memory.
#pragma once

#include <QHash>
#include <QString>

/// Up to burst requests at once, then one more every intervalMs.
struct RateRule
{
    int burst = 1;
    qint64 intervalMs = 1000;
};

/// One bucket per key (an address, a name), kept as the time it is next full again, so it takes
/// no timer and no floating point. The caller's clock is any that does not jump: milliseconds
/// of a monotonic clock suit best. A full bucket is forgotten, so idle keys cost nothing.
class RateLimiter
{
public:
    explicit RateLimiter(RateRule rule);

    /// Whether key has a request left at nowMs, without using it.
    bool available(const QString& key, qint64 nowMs) const;
    /// Uses one of key's requests: true when there was one left, false (and nothing used) not.
    bool take(const QString& key, qint64 nowMs);

    /// Keys whose bucket is not full; for watching memory.
    qsizetype trackedKeys() const { return m_fullAt.size(); }

private:
    void forgetFull(qint64 nowMs);

    RateRule m_rule;
    QHash<QString, qint64> m_fullAt; ///< when each key's bucket is full again
    qint64 m_nextSweepMs = 0;
};

struct SubmitRateRules
{
    /// Generous: a school's children may all come from one address behind its router.
    RateRule perAddress { 30, 10 * 1000 };
    /// One child sends a handful of times at once, then one a minute.
    RateRule perName { 5, 60 * 1000 };
};

/// The two limits a submission passes: its client address and its name (nameApprovalKey(), so
/// "ann" and "Ann" share). Anonymous submissions pass the address limit alone: they are
/// everyone's, and would otherwise share one bucket across the whole board.
class SubmitRateLimits
{
public:
    explicit SubmitRateLimits(SubmitRateRules rules = {});

    /// True, using one request of each, when both have one left; false, using none, otherwise.
    bool take(const QString& clientAddress, const QString& name, qint64 nowMs);

private:
    RateLimiter m_addresses;
    RateLimiter m_names;
};
