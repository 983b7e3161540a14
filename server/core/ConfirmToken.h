// The token the confirmation page's form carries: proof that this server showed this very
// submission to the child a short while ago.
#pragma once

#include "server/core/Submission.h"

#include <QByteArray>
#include <QByteArrayView>

inline constexpr qint64 ConfirmTokenLifetimeMs = 10 * 60 * 1000;
inline constexpr qsizetype ConfirmNonceBytes = 16;
inline constexpr qsizetype ServerSecretBytes = 32;

/// A new server secret, from the system's secure randomness; the server keeps it across
/// restarts or every open confirmation page stops working.
QByteArray newServerSecret();
/// A new nonce for one token, from the system's secure randomness.
QByteArray newConfirmNonce();

/// "1." + base64url(issue time, nonce) + "." + base64url(HMAC-SHA256): letters, digits, '-',
/// '_' and '.', safe in a form field and an address unescaped. The HMAC with secret covers
/// the issue time, the nonce and the cleaned name, subject, time and date, so the token fits
/// that submission alone. nonce must be ConfirmNonceBytes long.
QByteArray confirmToken(const QByteArray& secret, const Submission& submission, qint64 issuedUtcMs,
                        const QByteArray& nonce);

enum class TokenVerdict {
    Valid,
    Malformed, ///< not a token of this shape at all
    Forged, ///< made without the secret, or for another submission
    Expired, ///< older than ConfirmTokenLifetimeMs, or issued over a minute in the future
};

struct TokenCheck
{
    TokenVerdict verdict = TokenVerdict::Malformed;
    /// For a Valid token: its nonce and when it expires, for the replay record (NonceReplaySet
    /// or the store's) to remember it until then. Empty and 0 otherwise.
    QByteArray nonce;
    qint64 expiresUtcMs = 0;
};

/// Whether token is one this server (secret) issued for submission within the lifetime before
/// nowUtcMs. The signature is compared in constant time, before the times are looked at.
/// Whether the token was used before is not its business: see NonceReplaySet. A secret shorter
/// than ServerSecretBytes makes every token Forged: anyone could guess it.
TokenCheck checkConfirmToken(const QByteArray& secret, const Submission& submission,
                             QByteArrayView token, qint64 nowUtcMs);
