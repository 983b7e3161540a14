// The nonces of confirmation tokens already used, so that one form is posted once.
#include "server/core/NonceReplaySet.h"

namespace {

// Expired nonces are swept at most this often: a sweep walks them all.
constexpr qint64 SweepIntervalMs = 60 * 1000;

} // namespace

bool NonceReplaySet::firstUse(const QByteArray& nonce, qint64 expiresUtcMs, qint64 nowUtcMs)
{
    // A clock set back far must not put the next sweep out of reach.
    if (nowUtcMs >= m_nextSweepUtcMs || nowUtcMs < m_nextSweepUtcMs - SweepIntervalMs) {
        forgetExpired(nowUtcMs);
        m_nextSweepUtcMs = nowUtcMs + SweepIntervalMs;
    }
    if (m_expiries.contains(nonce)) {
        return false;
    }
    m_expiries.insert(nonce, expiresUtcMs);
    return true;
}

void NonceReplaySet::forgetExpired(qint64 nowUtcMs)
{
    m_expiries.removeIf([nowUtcMs](const auto& entry) { return entry.value() <= nowUtcMs; });
}
