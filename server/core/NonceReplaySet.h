// The nonces of confirmation tokens already used, so that one form is posted once.
#pragma once

#include <QByteArray>
#include <QHash>

/// In memory, for a server that keeps no record of its own; a restart forgets it, which lets a
/// token used before the restart be used once more within its lifetime.
class NonceReplaySet
{
public:
    /// True the first time nonce is used; false when it was used before. The nonce is
    /// remembered until expiresUtcMs, the token's own expiry, after which the token is refused
    /// anyway; nonces past it are forgotten within a minute of the next use.
    bool firstUse(const QByteArray& nonce, qint64 expiresUtcMs, qint64 nowUtcMs);

    qsizetype size() const { return m_expiries.size(); }

private:
    void forgetExpired(qint64 nowUtcMs);

    QHash<QByteArray, qint64> m_expiries;
    qint64 m_nextSweepUtcMs = 0;
};
