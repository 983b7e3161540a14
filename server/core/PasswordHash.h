// The admin page's password, kept as a slow salted hash (libsodium's Argon2id).
#pragma once

#include <QString>
#include <cstddef>
#include <optional>

/// How much work one hash costs; stored in the hash, so a cost can be raised later and old
/// hashes still verify.
struct PasswordCost
{
    unsigned long long operations;
    std::size_t memoryBytes;

    /// libsodium's choice for an interactive login: 2 passes over 64 MiB, a fraction of a
    /// second on a small server.
    static PasswordCost interactive();
    /// The least libsodium accepts; for tests only.
    static PasswordCost minimum();
};

/// The encoded hash "$argon2id$v=19$m=...,t=...,p=1$salt$hash" of password (in NFC, so the same
/// password typed on another keyboard matches), with a fresh random salt. Nothing when the
/// memory cannot be had.
std::optional<QString> hashPassword(const QString& password,
                                    PasswordCost cost = PasswordCost::interactive());

/// Whether password matches encoded, in constant time; false for anything not such a hash.
bool passwordMatches(const QString& encoded, const QString& password);

/// Whether encoded was made with another cost than cost (or is no hash): then the next
/// successful login should store a new hash.
bool passwordNeedsRehash(const QString& encoded, PasswordCost cost = PasswordCost::interactive());
