// libsodium, started once before its first use (internal to server_core).
#pragma once

#include <QByteArray>

/// Starts libsodium on first call; thread-safe. Aborts when the library cannot start (no
/// source of randomness): the server must not run without one.
void ensureSodium();

/// count bytes from the system's secure source of randomness.
QByteArray secureRandomBytes(qsizetype count);
