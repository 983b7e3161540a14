// The token each form of the moderators' page carries.
#include "server/core/AdminFormToken.h"

#include "server/core/ConfirmToken.h"
#include "server/core/Sodium.h"

#include <QMessageAuthenticationCode>
#include <QtEndian>
#include <sodium.h>

namespace {

constexpr auto Base64Url = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;
constexpr qsizetype MaxTokenBytes = 80;

QByteArray mac(const QByteArray& secret, const QByteArray& issued)
{
    // The leading words keep this use of the secret apart from the confirmation's.
    return QMessageAuthenticationCode::hash(QByteArray("sumdash admin form 1") + '\0' + issued,
                                            secret, QCryptographicHash::Sha256);
}

} // namespace

QByteArray adminFormToken(const QByteArray& secret, qint64 issuedUtcMs)
{
    QByteArray issued(sizeof(qint64), Qt::Uninitialized);
    qToBigEndian(issuedUtcMs, issued.data());
    return issued.toBase64(Base64Url) + '.' + mac(secret, issued).toBase64(Base64Url);
}

bool adminFormTokenValid(const QByteArray& secret, QByteArrayView token, qint64 nowUtcMs)
{
    const qsizetype dot = token.indexOf('.');
    if (token.size() > MaxTokenBytes || dot < 0 || secret.size() < ServerSecretBytes) {
        return false;
    }
    const auto issued = QByteArray::fromBase64Encoding(
        token.first(dot).toByteArray(), Base64Url | QByteArray::AbortOnBase64DecodingErrors);
    const auto given = QByteArray::fromBase64Encoding(
        token.sliced(dot + 1).toByteArray(), Base64Url | QByteArray::AbortOnBase64DecodingErrors);
    if (!issued || !given || issued.decoded.size() != qsizetype(sizeof(qint64))) {
        return false;
    }
    const QByteArray expected = mac(secret, issued.decoded);
    ensureSodium();
    if (given.decoded.size() != expected.size()
        || sodium_memcmp(expected.constData(), given.decoded.constData(),
                         std::size_t(expected.size()))
            != 0) {
        return false;
    }
    const qint64 age = nowUtcMs - qFromBigEndian<qint64>(issued.decoded.constData());
    return age >= -60 * 1000 && age <= AdminFormTokenLifetimeMs;
}
