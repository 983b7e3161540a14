// libsodium, started once before its first use (internal to server_core).
#include "server/core/Sodium.h"

#include <cstdlib>
#include <sodium.h>

void ensureSodium()
{
    static const bool started = [] {
        if (sodium_init() < 0) {
            std::abort();
        }
        return true;
    }();
    (void)started;
}

QByteArray secureRandomBytes(qsizetype count)
{
    ensureSodium();
    QByteArray bytes(count, Qt::Uninitialized);
    randombytes_buf(bytes.data(), static_cast<std::size_t>(count));
    return bytes;
}
