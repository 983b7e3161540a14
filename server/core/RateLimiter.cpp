// How often one client or one name may submit: a token bucket per key, in memory.
#include "server/core/RateLimiter.h"

#include "server/core/Moderation.h"

#include <algorithm>

namespace {

// Full buckets are swept at most this often: a sweep walks them all.
constexpr qint64 SweepIntervalMs = 60 * 1000;

} // namespace

RateLimiter::RateLimiter(RateRule rule)
    : m_rule(rule)
{
}

// A bucket full at fullAt holds burst requests then; each request used moves fullAt one
// interval on. At nowMs it has a request left while fullAt lies less than burst intervals ahead.
bool RateLimiter::available(const QString& key, qint64 nowMs) const
{
    const qint64 fullAt = std::max(m_fullAt.value(key, nowMs), nowMs);
    return fullAt + m_rule.intervalMs - nowMs <= m_rule.burst * m_rule.intervalMs;
}

bool RateLimiter::take(const QString& key, qint64 nowMs)
{
    if (nowMs >= m_nextSweepMs || nowMs < m_nextSweepMs - SweepIntervalMs) {
        forgetFull(nowMs);
        m_nextSweepMs = nowMs + SweepIntervalMs;
    }
    if (!available(key, nowMs)) {
        return false;
    }
    m_fullAt[key] = std::max(m_fullAt.value(key, nowMs), nowMs) + m_rule.intervalMs;
    return true;
}

void RateLimiter::forgetFull(qint64 nowMs)
{
    m_fullAt.removeIf([nowMs](const auto& entry) { return entry.value() <= nowMs; });
}

SubmitRateLimits::SubmitRateLimits(SubmitRateRules rules)
    : m_addresses(rules.perAddress)
    , m_names(rules.perName)
{
}

bool SubmitRateLimits::take(const QString& clientAddress, const QString& name, qint64 nowMs)
{
    const QString nameKey = nameApprovalKey(name);
    const bool limitName = !name.isEmpty();
    if (!m_addresses.available(clientAddress, nowMs)
        || (limitName && !m_names.available(nameKey, nowMs))) {
        return false;
    }
    m_addresses.take(clientAddress, nowMs);
    if (limitName) {
        m_names.take(nameKey, nowMs);
    }
    return true;
}
