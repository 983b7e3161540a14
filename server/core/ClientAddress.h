// Which address a request comes from, for the rate limits and the moderators' view.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

/// The usual text of an IPv4 or IPv6 address, so that one address has one spelling:
/// "::ffff:192.0.2.1" is "192.0.2.1", "2001:DB8:0:0::1" is "2001:db8::1". Brackets and a port
/// ("[2001:db8::1]:443", "192.0.2.1:8080"), as some proxies write them, are dropped. Nothing for
/// text that is no address ("unknown", a host name, an IPv6 zone).
std::optional<QString> canonicalAddress(QStringView text);

/// The proxies (reverse proxies, load balancers) whose X-Forwarded-For the server believes.
class TrustedProxies
{
public:
    /// Addresses in any spelling canonicalAddress() reads; others are skipped.
    explicit TrustedProxies(const QStringList& addresses = {});

    bool contains(QStringView address) const;

private:
    QStringList m_addresses; ///< canonical
};

/// The client of a request. peerAddress, the socket's peer, unless it is a trusted proxy: then
/// the X-Forwarded-For chain (all its headers' values joined with ',', in order) is read from
/// its end, where the trusted proxy wrote it, past further trusted proxies, to the first address
/// no trusted proxy stands for. Everything left of that was written by the client itself and is
/// not believed. When an entry is no address, the last trusted one before it is the client, as
/// it is when every entry is a trusted proxy. The result is canonical where the input was.
QString clientAddress(const QString& peerAddress, const QString& forwardedFor,
                      const TrustedProxies& trusted);
