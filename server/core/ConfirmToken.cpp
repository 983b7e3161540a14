// The token the confirmation page's form carries: proof that this server showed this very
// submission to the child a short while ago.
#include "server/core/ConfirmToken.h"

#include "server/core/Sodium.h"

#include <QMessageAuthenticationCode>
#include <QtEndian>
#include <sodium.h>

namespace {

constexpr QByteArrayView Version = "1";
constexpr qsizetype TimeBytes = 8;
constexpr qsizetype MacBytes = 32;
// Far longer than any token: a longer one is not read at all.
constexpr qsizetype MaxTokenBytes = 160;
// The clock may be set back a little between showing the page and the press of its button.
constexpr qint64 FutureSlackMs = 60 * 1000;

constexpr auto Base64Url = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

void appendField(QByteArray& message, const QString& field)
{
    const QByteArray utf8 = field.toUtf8();
    char length[4];
    qToBigEndian(static_cast<quint32>(utf8.size()), length);
    message.append(length, sizeof length);
    message.append(utf8);
}

// The time and nonce, then every field with its length before it, so no two submissions give
// the same message; the leading words keep the secret's other uses apart.
QByteArray signature(const QByteArray& secret, const QByteArray& payload,
                     const Submission& submission)
{
    QByteArray message("sumdash confirm 1");
    message.append('\0');
    message.append(payload);
    appendField(message, submission.name);
    appendField(message, subjectCode(submission.subject));
    appendField(message, QString::number(submission.seconds));
    appendField(message, submission.date);
    return QMessageAuthenticationCode::hash(message, secret, QCryptographicHash::Sha256);
}

std::optional<QByteArray> fromBase64Url(QByteArrayView text, qsizetype size)
{
    auto decoded = QByteArray::fromBase64Encoding(
        text.toByteArray(), Base64Url | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != size || decoded.decoded.toBase64(Base64Url) != text) {
        return std::nullopt;
    }
    return decoded.decoded;
}

} // namespace

QByteArray newServerSecret()
{
    return secureRandomBytes(ServerSecretBytes);
}

QByteArray newConfirmNonce()
{
    return secureRandomBytes(ConfirmNonceBytes);
}

QByteArray confirmToken(const QByteArray& secret, const Submission& submission, qint64 issuedUtcMs,
                        const QByteArray& nonce)
{
    QByteArray payload(TimeBytes, Qt::Uninitialized);
    qToBigEndian(issuedUtcMs, payload.data());
    payload.append(nonce);
    return Version.toByteArray() + '.' + payload.toBase64(Base64Url) + '.'
        + signature(secret, payload, submission).toBase64(Base64Url);
}

TokenCheck checkConfirmToken(const QByteArray& secret, const Submission& submission,
                             QByteArrayView token, qint64 nowUtcMs)
{
    if (token.size() > MaxTokenBytes) {
        return {};
    }
    const qsizetype first = token.indexOf('.');
    const qsizetype second = first < 0 ? -1 : token.indexOf('.', first + 1);
    if (second < 0 || token.first(first) != Version) {
        return {};
    }
    const auto payload
        = fromBase64Url(token.sliced(first + 1, second - first - 1), TimeBytes + ConfirmNonceBytes);
    const auto mac = fromBase64Url(token.sliced(second + 1), MacBytes);
    if (!payload || !mac) {
        return {};
    }
    ensureSodium();
    const QByteArray expected = signature(secret, *payload, submission);
    if (secret.size() < ServerSecretBytes
        || sodium_memcmp(expected.constData(), mac->constData(), MacBytes) != 0) {
        return { TokenVerdict::Forged, {}, 0 };
    }
    const auto issuedUtcMs = qFromBigEndian<qint64>(payload->constData());
    const qint64 age = nowUtcMs - issuedUtcMs;
    if (age < -FutureSlackMs || age > ConfirmTokenLifetimeMs) {
        return { TokenVerdict::Expired, {}, 0 };
    }
    return { TokenVerdict::Valid, payload->sliced(TimeBytes),
             issuedUtcMs + ConfirmTokenLifetimeMs };
}
