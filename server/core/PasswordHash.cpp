// The admin page's password, kept as a slow salted hash (libsodium's Argon2id).
#include "server/core/PasswordHash.h"

#include "server/core/Sodium.h"

#include <array>
#include <sodium.h>

namespace {

QByteArray passwordBytes(const QString& password)
{
    return password.normalized(QString::NormalizationForm_C).toUtf8();
}

} // namespace

PasswordCost PasswordCost::interactive()
{
    return { crypto_pwhash_argon2id_OPSLIMIT_INTERACTIVE,
             crypto_pwhash_argon2id_MEMLIMIT_INTERACTIVE };
}

PasswordCost PasswordCost::minimum()
{
    return { crypto_pwhash_argon2id_OPSLIMIT_MIN, crypto_pwhash_argon2id_MEMLIMIT_MIN };
}

std::optional<QString> hashPassword(const QString& password, PasswordCost cost)
{
    ensureSodium();
    const QByteArray bytes = passwordBytes(password);
    std::array<char, crypto_pwhash_argon2id_STRBYTES> encoded {};
    if (crypto_pwhash_argon2id_str(encoded.data(), bytes.constData(),
                                   static_cast<unsigned long long>(bytes.size()), cost.operations,
                                   cost.memoryBytes)
        != 0) {
        return std::nullopt;
    }
    return QString::fromLatin1(encoded.data());
}

bool passwordMatches(const QString& encoded, const QString& password)
{
    ensureSodium();
    const QByteArray hash = encoded.toLatin1();
    if (static_cast<std::size_t>(encoded.size()) >= crypto_pwhash_argon2id_STRBYTES
        || !hash.startsWith(crypto_pwhash_argon2id_STRPREFIX) || hash.contains('\0')) {
        return false;
    }
    const QByteArray bytes = passwordBytes(password);
    return crypto_pwhash_argon2id_str_verify(hash.constData(), bytes.constData(),
                                             static_cast<unsigned long long>(bytes.size()))
        == 0;
}

bool passwordNeedsRehash(const QString& encoded, PasswordCost cost)
{
    ensureSodium();
    const QByteArray hash = encoded.toLatin1();
    return crypto_pwhash_argon2id_str_needs_rehash(hash.constData(), cost.operations,
                                                   cost.memoryBytes)
        != 0;
}
