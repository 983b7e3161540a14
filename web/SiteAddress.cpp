// Which web site the game opens: the one it is built with, or one the game's settings name.
#include "web/SiteAddress.h"

#include "web/BuiltInSiteAddress.h"

#include <QUrl>

QString builtInSiteAddress()
{
    return QString::fromUtf8(BuiltInSiteAddress);
}

// The address is the start of every page the game opens and of the submission, whose path and
// query the game writes after it; so it may carry nothing a browser would read as more than a
// site: no path, query or fragment, and no user name, which would make a link that shows one
// host and goes to another. QUrl reads it strictly (no blanks, no stray characters, a port in
// range) and gives it back in one encoded form: lower-case scheme and host, an international
// host in its ASCII form.
std::optional<QString> acceptedSiteAddress(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) {
        return std::nullopt;
    }
    const QString scheme = url.scheme();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        return std::nullopt;
    }
    if (url.host().isEmpty() || url.authority(QUrl::FullyEncoded).contains(QLatin1Char('@'))) {
        return std::nullopt;
    }
    if (url.port() == 0) { // no server is reached on port 0
        return std::nullopt;
    }
    const QString path = url.path(QUrl::FullyEncoded);
    if ((!path.isEmpty() && path != QLatin1String("/")) || url.hasQuery() || url.hasFragment()) {
        return std::nullopt;
    }
    return QString::fromLatin1(url.adjusted(QUrl::RemovePath).toEncoded());
}

QString chooseSiteAddress(const QString& configured)
{
    return acceptedSiteAddress(configured).value_or(builtInSiteAddress());
}
