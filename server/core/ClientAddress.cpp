// Which address a request comes from, for the rate limits and the moderators' view.
#include "server/core/ClientAddress.h"

#include <arpa/inet.h>
#include <array>
#include <cstring>

namespace {

// "[v6]:port" and "[v6]" lose their brackets and port, "v4:port" its port; a bare IPv6
// address has two colons or more and keeps them all.
QStringView withoutPort(QStringView text)
{
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        const QStringView rest = close < 0 ? QStringView() : text.sliced(close + 1);
        if (close < 0 || !(rest.isEmpty() || rest.startsWith(QLatin1Char(':')))) {
            return {};
        }
        return text.sliced(1, close - 1);
    }
    if (text.count(QLatin1Char(':')) == 1) {
        return text.first(text.indexOf(QLatin1Char(':')));
    }
    return text;
}

} // namespace

std::optional<QString> canonicalAddress(QStringView text)
{
    const QByteArray ascii = withoutPort(text.trimmed()).toLatin1();
    if (ascii.contains('\0')) {
        return std::nullopt; // the C functions below would stop reading there
    }
    std::array<unsigned char, 16> bytes {};
    std::array<char, INET6_ADDRSTRLEN> spelled {};
    if (inet_pton(AF_INET, ascii.constData(), bytes.data()) == 1) {
        inet_ntop(AF_INET, bytes.data(), spelled.data(), spelled.size());
        return QString::fromLatin1(spelled.data());
    }
    if (inet_pton(AF_INET6, ascii.constData(), bytes.data()) != 1) {
        return std::nullopt;
    }
    constexpr std::array<unsigned char, 12> MappedPrefix {
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff
    };
    if (std::memcmp(bytes.data(), MappedPrefix.data(), MappedPrefix.size()) == 0) {
        inet_ntop(AF_INET, bytes.data() + MappedPrefix.size(), spelled.data(), spelled.size());
    } else {
        inet_ntop(AF_INET6, bytes.data(), spelled.data(), spelled.size());
    }
    return QString::fromLatin1(spelled.data());
}

TrustedProxies::TrustedProxies(const QStringList& addresses)
{
    for (const QString& address : addresses) {
        if (const auto canonical = canonicalAddress(address)) {
            m_addresses.append(*canonical);
        }
    }
}

bool TrustedProxies::contains(QStringView address) const
{
    const auto canonical = canonicalAddress(address);
    return canonical && m_addresses.contains(*canonical);
}

QString clientAddress(const QString& peerAddress, const QString& forwardedFor,
                      const TrustedProxies& trusted)
{
    QString client = canonicalAddress(peerAddress).value_or(peerAddress);
    if (!trusted.contains(client)) {
        return client;
    }
    const QList<QStringView> hops = QStringView(forwardedFor).split(QLatin1Char(','));
    for (auto hop = hops.crbegin(); hop != hops.crend(); ++hop) {
        const auto address = canonicalAddress(*hop);
        if (!address) {
            break;
        }
        client = *address;
        if (!trusted.contains(client)) {
            break;
        }
    }
    return client;
}
